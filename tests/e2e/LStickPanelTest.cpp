// The MOSS left-stick panel: four direction slots, filled by the page's capture, stored by its own OK.
#include "pages/LeftStickPanel.h"
#include "tests/e2e/Rig.h"

#include <QPushButton>

namespace zav {
namespace {

TEST(LStickPanel, stores_only_what_its_ok_confirms) {
    test::Rig rig(2);
    rig.adapter.setCapability(5);
    rig.start();
    AssignmentPage* page = rig.page(2);
    test::waitTransfer(page, [&] { test::choose(page->modeList(), 2); });
    ASSERT_EQ(page->mode(), 3); // the third item is keyboard mode at capability 5
    EXPECT_TRUE(page->slotButton(24)->isVisible());
    LeftStickPanel* panel = page->lstickPanel();
    const auto click = [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); };
    const auto open = [&] { click(page->control(1137)); };
    const auto panelButton = [&](int id) { return panel->findChild<QPushButton*>(QString::number(id)); };
    // Selects `direction`, presses `key` on the page and ends the capture with the page's `button`.
    const auto capture = [&](int direction, Qt::Key key, const QString& text, int button = 1089) {
        click(panel->directionButton(direction));
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(page, &event);
        click(page->control(button));
    };
    const auto stored = [&] { return QByteArray(reinterpret_cast<const char*>(&page->record()[27]), 4); };
    const QByteArray wsad("\x1A\x16\x04\x07", 4);
    ASSERT_EQ(stored(), wsad);

    open();
    EXPECT_EQ(panel->caption(0), QStringLiteral("W"));
    // It stands above the page's slot buttons under it, and they wait while it is shown.
    QWidget* top = QApplication::widgetAt(page->slotButton(24)->mapToGlobal(QPoint(2, 2)));
    EXPECT_TRUE(top == panel || panel->isAncestorOf(top));
    click(page->slotButton(1));
    EXPECT_FALSE(page->captureOn());
    // Its Cancel, the page's Cancel, or showing it again forget what its OK did not store.
    capture(3, Qt::Key_F1, {});
    ASSERT_EQ(panel->caption(3), QStringLiteral("F1"));
    click(panelButton(LeftStickPanel::kCancel));
    open();
    EXPECT_EQ(panel->caption(3), QStringLiteral("D"));
    capture(1, Qt::Key_Space, QStringLiteral(" "), 1088);
    EXPECT_EQ(panel->caption(1), QStringLiteral("S"));
    capture(1, Qt::Key_Space, QStringLiteral(" "));
    ASSERT_EQ(panel->caption(1), QStringLiteral("Space"));
    open();
    EXPECT_EQ(panel->caption(1), QStringLiteral("S"));
    EXPECT_EQ(stored(), wsad);

    // A click on another direction or on the panel's OK while a direction waits is an input.
    click(panel->directionButton(2));
    click(panel->directionButton(0));
    click(panelButton(LeftStickPanel::kOk));
    EXPECT_EQ(page->capturedText(), QStringLiteral("MsL"));
    EXPECT_EQ(panel->selectedDirection(), 2);
    click(page->control(1089));
    capture(0, Qt::Key_Q, QStringLiteral("q"));
    rig.adapter.clearLog();
    click(panelButton(LeftStickPanel::kOk));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(stored(), QByteArray("\x14\x16\xF8\x07", 4));
    EXPECT_TRUE(test::only(rig.adapter, cmd::kStatus)); // nothing written yet
    // "NC" goes in as 0, and so does a code without a label, shown as an empty caption.
    page->record()[28] = 0x64;
    open();
    EXPECT_EQ(panel->caption(1), QString());
    click(panel->directionButton(0));
    click(page->control(1150)); // the page's NC
    click(page->control(1089));
    click(panelButton(LeftStickPanel::kOk));
    EXPECT_EQ(stored(), QByteArray("\x00\x00\xF8\x07", 4));

    // Leaving keyboard mode closes it unconfirmed; while a direction waits, the mode list takes no click.
    open();
    click(panel->directionButton(1));
    test::windowClick(*page->modeList(), QPoint(20, 10));
    EXPECT_FALSE(page->modeList()->view()->isVisible());
    click(page->control(1088));
    test::waitTransfer(page, [&] { test::choose(page->modeList(), 0); });
    test::waitTransfer(page, [&] { test::choose(page->modeList(), 2); });
    EXPECT_FALSE(panel->isVisible());
}

} // namespace
} // namespace zav
