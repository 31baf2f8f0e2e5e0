#include "app/MainWindow.h"
#include "controls/SkinComboBox.h"
#include "pages/AssignmentPage.h"
#include "pages/LeftStickPanel.h"
#include "pages/MoveButton.h"
#include "profiles/ProfileRecord.h"
#include "tests/e2e/BoxWatcher.h"
#include "tests/e2e/Rig.h"
#include "text/Texts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <array>

namespace zav {
namespace {

using test::BoxWatcher;
using test::Rig;
using Directions = std::array<std::uint8_t, 4>;

constexpr int kOpenPanel = 1137;
constexpr int kPageOk = 1089;
constexpr int kPageCancel = 1088;
constexpr int kPageNc = 1150;
constexpr int kPageFn = 1151;
constexpr int kWrite = 1007;

Directions directionsOf(std::span<const std::uint8_t> record) {
    return {record[27], record[28], record[29], record[30]};
}

// A MOSS whose adapter offers keyboard mode, its page in keyboard mode.
struct LStickPanel : ::testing::Test {
    void SetUp() override {
        rig.adapter.setCapability(5);
        rig.start();
        page = rig.dlg->page(2);
        ASSERT_NE(page->lstickPanel(), nullptr);
        QSignalSpy done(page, &AssignmentPage::transferDone);
        test::choose(page->modeList(), 2);
        ASSERT_TRUE(done.count() > 0 || done.wait(5000));
        ASSERT_EQ(page->mode(), 3);
        ASSERT_TRUE(page->control(kOpenPanel)->isVisible());
    }
    void click(QWidget* widget) {
        ASSERT_NE(widget, nullptr);
        ASSERT_TRUE(widget->isVisible());
        QTest::mouseClick(widget, Qt::LeftButton);
    }
    LeftStickPanel* open() {
        click(page->control(kOpenPanel));
        return page->lstickPanel();
    }
    void select(int direction) { click(panel()->directionButton(direction)); }
    void press(Qt::Key key, const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(page, &event);
    }
    void wheel(int delta) {
        QWheelEvent event(QPointF(200, 200), QPointF(page->mapToGlobal(QPoint(200, 200))), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(page, &event);
    }
    QPushButton* panelButton(int id) { return panel()->findChild<QPushButton*>(QString::number(id)); }
    LeftStickPanel* panel() { return page->lstickPanel(); }
    Directions work() { return directionsOf(page->record()); }
    Directions sent() { return directionsOf(recordAt(rig.dlg->link().sendImage(2), 2, 0)); }
    QStringList captions() {
        return {panel()->caption(0), panel()->caption(1), panel()->caption(2), panel()->caption(3)};
    }

    Rig rig{2};
    AssignmentPage* page = nullptr;
};

TEST_F(LStickPanel, opens_over_the_keypad_with_the_stored_directions) {
    ASSERT_EQ(work(), (Directions{0x1A, 0x16, 0x04, 0x07}));
    LeftStickPanel* shown = open();
    ASSERT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->geometry(), QRect(25, 100, 339, 347));
    // In the main window's client area it stands at (33, 160) and moves with the window.
    EXPECT_EQ(shown->mapTo(rig.dlg.get(), QPoint(0, 0)), QPoint(33, 160));
    EXPECT_EQ(captions(), (QStringList{"W", "S", "A", "D"}));
    EXPECT_EQ(shown->directionButton(3)->geometry(), QRect(153, 111, 35, 35));
    // Above the page's slot buttons under it (slot 24 stands at 183,310).
    QWidget* top = QApplication::widgetAt(page->mapToGlobal(QPoint(200, 320)));
    EXPECT_TRUE(top == shown || shown->isAncestorOf(top));
}

TEST_F(LStickPanel, a_captured_key_is_stored_by_the_panels_ok_and_written_to_the_adapter) {
    open();
    select(0);
    ASSERT_TRUE(panel()->capturing());
    EXPECT_TRUE(panel()->directionButton(0)->selected());
    EXPECT_EQ(qobject_cast<QLabel*>(page->control(1149))->text(), QStringLiteral("W"));
    EXPECT_FALSE(page->captureOn());
    press(Qt::Key_Q, QStringLiteral("q"));
    EXPECT_EQ(page->capturedText(), QStringLiteral("Q"));
    click(page->control(kPageOk));
    EXPECT_FALSE(panel()->capturing());
    EXPECT_FALSE(panel()->directionButton(0)->selected());
    EXPECT_EQ(captions(), (QStringList{"Q", "S", "A", "D"}));
    EXPECT_EQ(work(), (Directions{0x1A, 0x16, 0x04, 0x07})); // not before the panel's OK

    rig.adapter.clearLog();
    click(panelButton(LeftStickPanel::kOk));
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(work(), (Directions{0x14, 0x16, 0x04, 0x07}));
    EXPECT_EQ(sent(), (Directions{0x1A, 0x16, 0x04, 0x07})); // the write refreshes it
    for (const auto& frame : rig.adapter.frames()) {
        EXPECT_EQ(frame.code(), 0x71); // polls only
    }

    BoxWatcher boxes;
    QSignalSpy done(page, &AssignmentPage::transferDone);
    click(page->control(kWrite));
    ASSERT_TRUE(done.count() > 0 || done.wait(5000));
    EXPECT_EQ(boxes.lines, QStringList{QString::fromUtf8(text(TextId::WriteComplete, 0).data())});
    EXPECT_EQ(directionsOf(rig.adapter.bank(2, 3)), (Directions{0x14, 0x16, 0x04, 0x07}));
}

TEST_F(LStickPanel, cancel_or_showing_again_forgets_unconfirmed_captions) {
    open();
    select(3);
    press(Qt::Key_F1);
    click(page->control(kPageOk));
    ASSERT_EQ(panel()->caption(3), QStringLiteral("F1"));
    click(panelButton(LeftStickPanel::kCancel));
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(work(), (Directions{0x1A, 0x16, 0x04, 0x07}));
    open();
    EXPECT_EQ(captions(), (QStringList{"W", "S", "A", "D"}));

    // The page's Cancel leaves the caption; pressing "L-Stick Settings" again forgets an OK'd one.
    select(1);
    press(Qt::Key_Space, QStringLiteral(" "));
    click(page->control(kPageCancel));
    EXPECT_FALSE(panel()->capturing());
    EXPECT_EQ(panel()->caption(1), QStringLiteral("S"));
    select(1);
    press(Qt::Key_Space, QStringLiteral(" "));
    click(page->control(kPageOk));
    ASSERT_EQ(panel()->caption(1), QStringLiteral("Space"));
    open();
    EXPECT_EQ(captions(), (QStringList{"W", "S", "A", "D"}));
}

TEST_F(LStickPanel, mouse_inputs_are_captured_and_the_panel_buttons_wait) {
    open();
    select(2);
    wheel(120);
    EXPECT_EQ(page->capturedText(), QStringLiteral("ScrUp"));
    wheel(-120);
    EXPECT_EQ(page->capturedText(), QStringLiteral("ScrDo"));
    // A side button pressed while another button is held names nothing.
    const QPoint at(200, 200);
    QMouseEvent held(QEvent::MouseButtonPress, QPointF(at), QPointF(page->mapToGlobal(at)), Qt::BackButton,
                     Qt::LeftButton | Qt::BackButton, Qt::NoModifier);
    QApplication::sendEvent(page, &held);
    EXPECT_EQ(page->capturedText(), QStringLiteral("ScrDo"));
    // A left click on another direction or on the panel's own OK is an input, not a click.
    QTest::mouseClick(panel()->directionButton(0), Qt::LeftButton);
    EXPECT_EQ(page->capturedText(), QStringLiteral("MsL"));
    EXPECT_EQ(panel()->selectedDirection(), 2);
    press(Qt::Key_Escape);
    QTest::mouseClick(panelButton(LeftStickPanel::kOk), Qt::LeftButton);
    EXPECT_EQ(page->capturedText(), QStringLiteral("MsL"));
    EXPECT_TRUE(panel()->isVisible());
    click(page->control(kPageOk));
    click(panelButton(LeftStickPanel::kOk));
    EXPECT_EQ(work(), (Directions{0x1A, 0x16, 0xF8, 0x07}));
}

TEST_F(LStickPanel, fn_is_a_button_click_and_nc_can_be_assigned) {
    open();
    select(0);
    press(Qt::Key_E, QStringLiteral("e"));
    BoxWatcher boxes;
    click(page->control(kPageFn));
    QTest::qWait(100);
    EXPECT_EQ(boxes.lines, QStringList{QString::fromUtf8(text(TextId::RefuseFn, 0).data())});
    EXPECT_EQ(page->capturedText(), QStringLiteral("E"));
    click(page->control(kPageNc));
    click(page->control(kPageOk));
    EXPECT_EQ(panel()->caption(0), QStringLiteral("NC"));
    click(panelButton(LeftStickPanel::kOk));
    EXPECT_EQ(work(), (Directions{0x00, 0x16, 0x04, 0x07}));
}

TEST_F(LStickPanel, ok_stores_all_four_directions_from_their_captions) {
    // A code without a label shows an empty button, which stores 0.
    auto record = page->record();
    record[29] = 0x64;
    record[30] = 0xF8;
    open();
    EXPECT_EQ(captions(), (QStringList{"W", "S", "", "MsL"}));
    click(panelButton(LeftStickPanel::kOk));
    EXPECT_EQ(work(), (Directions{0x1A, 0x16, 0x00, 0xF8}));
}

TEST_F(LStickPanel, the_page_slots_wait_while_the_panel_is_shown) {
    open();
    click(page->slotButton(1));
    EXPECT_FALSE(page->captureOn());
    click(panelButton(LeftStickPanel::kCancel));
    click(page->slotButton(1));
    EXPECT_TRUE(page->captureOn());
    // While a slot waits, "L-Stick Settings" is an input like any other click.
    QTest::mouseClick(page->control(kOpenPanel), Qt::LeftButton);
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(page->capturedText(), QStringLiteral("MsL"));
}

TEST_F(LStickPanel, leaving_keyboard_mode_closes_the_panel_unconfirmed) {
    open();
    select(1);
    // While a direction waits, the mode list is part of the page: its click is an input.
    test::windowClick(*page->modeList(), QPoint(20, 10));
    EXPECT_FALSE(page->modeList()->view()->isVisible());
    EXPECT_TRUE(panel()->capturing());
    click(page->control(1088));
    EXPECT_FALSE(panel()->capturing());
    QSignalSpy done(page, &AssignmentPage::transferDone);
    test::choose(page->modeList(), 0);
    ASSERT_TRUE(done.count() > 0 || done.wait(5000));
    EXPECT_FALSE(panel()->isVisible());
    test::choose(page->modeList(), 2);
    ASSERT_TRUE(done.count() > 0 || done.wait(5000));
    EXPECT_FALSE(panel()->isVisible());
}

} // namespace
} // namespace zav
