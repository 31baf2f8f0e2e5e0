// The MOSS left-stick panel: its four direction slots, filled by the page's capture.
#include "pages/LeftStickPanel.h"
#include "tests/e2e/Rig.h"

#include <QPushButton>

#include <array>

namespace zav {
namespace {

using Directions = std::array<std::uint8_t, 4>;

constexpr int kPageOk = 1089;
constexpr int kPageCancel = 1088;
const Directions kStored{0x1A, 0x16, 0x04, 0x07}; // W, S, A, D
const QStringList kCaptions{"W", "S", "A", "D"};

// A MOSS whose adapter offers keyboard mode, its page in keyboard mode.
struct LStickPanel : ::testing::Test {
    void SetUp() override {
        rig.adapter.setCapability(5);
        rig.start();
        page = rig.page(2);
        test::waitTransfer(page, [&] { test::choose(page->modeList(), 2); });
        ASSERT_EQ(work(), kStored);
    }
    void click(QWidget* widget) {
        ASSERT_TRUE(widget->isVisible());
        QTest::mouseClick(widget, Qt::LeftButton);
    }
    void open() { click(page->control(1137)); }
    // Selects `direction`, presses `key` on the page and ends the capture with the page's `button`.
    void capture(int direction, Qt::Key key, const QString& text, int button = kPageOk) {
        click(panel()->directionButton(direction));
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(page, &event);
        click(page->control(button));
    }
    void panelButton(int id) { click(panel()->findChild<QPushButton*>(QString::number(id))); }
    LeftStickPanel* panel() { return page->lstickPanel(); }
    Directions work() {
        const auto record = page->record();
        return {record[27], record[28], record[29], record[30]};
    }
    QStringList captions() {
        return {panel()->caption(0), panel()->caption(1), panel()->caption(2), panel()->caption(3)};
    }
    test::Rig rig{2};
    AssignmentPage* page = nullptr;
};

TEST_F(LStickPanel, a_captured_key_is_stored_only_by_the_panels_ok) {
    open();
    EXPECT_EQ(captions(), kCaptions);
    // It stands above the page's slot buttons under it, and they wait while it is shown.
    QWidget* top = QApplication::widgetAt(page->slotButton(24)->mapToGlobal(QPoint(2, 2)));
    EXPECT_TRUE(top == panel() || panel()->isAncestorOf(top));
    QTest::mouseClick(page->slotButton(1), Qt::LeftButton);
    EXPECT_FALSE(page->captureOn());
    // Cancel, the page's Cancel, or showing the panel again forget what its OK did not store.
    capture(3, Qt::Key_F1, {});
    ASSERT_EQ(panel()->caption(3), QStringLiteral("F1"));
    panelButton(LeftStickPanel::kCancel);
    open();
    capture(1, Qt::Key_Space, QStringLiteral(" "), kPageCancel);
    EXPECT_EQ(panel()->caption(1), QStringLiteral("S"));
    capture(1, Qt::Key_Space, QStringLiteral(" "));
    ASSERT_EQ(panel()->caption(1), QStringLiteral("Space"));
    open();
    EXPECT_EQ(captions(), kCaptions);
    EXPECT_EQ(work(), kStored);

    capture(0, Qt::Key_Q, QStringLiteral("q"));
    EXPECT_EQ(captions(), (QStringList{"Q", "S", "A", "D"}));
    rig.adapter.clearLog();
    panelButton(LeftStickPanel::kOk);
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(work(), (Directions{0x14, 0x16, 0x04, 0x07}));
    EXPECT_TRUE(test::only(rig.adapter, cmd::kStatus)); // nothing written yet
}

// A left click on another direction or on the panel's own OK, while a direction waits, is an input.
TEST_F(LStickPanel, clicks_on_the_panel_while_a_direction_waits_are_inputs) {
    open();
    click(panel()->directionButton(2));
    QTest::mouseClick(panel()->directionButton(0), Qt::LeftButton);
    QTest::mouseClick(panel()->findChild<QPushButton*>(QString::number(LeftStickPanel::kOk)), Qt::LeftButton);
    EXPECT_EQ(page->capturedText(), QStringLiteral("MsL"));
    EXPECT_EQ(panel()->selectedDirection(), 2);
    click(page->control(kPageOk));
    // "NC" goes in as 0, and a code without a label shows an empty caption that stores 0.
    click(panel()->directionButton(0));
    click(page->control(1150)); // the page's NC
    click(page->control(kPageOk));
    panelButton(LeftStickPanel::kOk);
    EXPECT_EQ(work(), (Directions{0x00, 0x16, 0xF8, 0x07}));
    page->record()[29] = 0x64;
    open();
    EXPECT_EQ(captions(), (QStringList{"NC", "S", "", "D"}));
    panelButton(LeftStickPanel::kOk);
    EXPECT_EQ(work(), (Directions{0x00, 0x16, 0x00, 0x07}));
}

TEST_F(LStickPanel, leaving_keyboard_mode_closes_the_panel_unconfirmed) {
    open();
    click(panel()->directionButton(1));
    // While a direction waits, the mode list is part of the page: its click is an input.
    test::windowClick(*page->modeList(), QPoint(20, 10));
    EXPECT_FALSE(page->modeList()->view()->isVisible());
    click(page->control(kPageCancel));
    test::waitTransfer(page, [&] { test::choose(page->modeList(), 0); });
    EXPECT_FALSE(panel()->isVisible());
    test::waitTransfer(page, [&] { test::choose(page->modeList(), 2); });
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(work(), kStored);
}

} // namespace
} // namespace zav
