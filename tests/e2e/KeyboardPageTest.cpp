#include "app/MainWindow.h"
#include "controls/SkinComboBox.h"
#include "controls/ToggleButton.h"
#include "pages/AssignmentPage.h"
#include "pages/KeyTables.h"
#include "pages/MoveButton.h"
#include "pages/PageLayout.h"
#include "profiles/ProfileRecord.h"
#include "tests/e2e/BoxWatcher.h"
#include "tests/e2e/Rig.h"
#include "text/Texts.h"

#include <QApplication>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace zav {
namespace {

using test::BoxWatcher;
using test::Rig;

constexpr int kNcPalette = 1049;
constexpr int kL1Palette = 1040;
constexpr int kFnPalette = 1111;
constexpr int kWrite = 1007;
constexpr int kSensitivity = 1135;
constexpr int kButtonOptions = 1138;
constexpr int kCaptureOk = 1089;
constexpr int kScKbd = 1160;

QString firstLine(TextId id) {
    return qstr(textLines(id, 0).front());
}

std::uint8_t kiteCode(Rig& rig, int slot) {
    return recordAt(rig.dlg->link().workImage(1), 1, 0)[static_cast<std::size_t>(slotToIndex(1, slot))];
}

// The KITE page of an active window, in the mode of `item` of its mode list.
struct KeyboardPage : ::testing::Test {
    void SetUp() override {
        rig.start();
        page = rig.dlg->page(1);
        rig.dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(rig.dlg.get()));
    }
    void toMode(int item) {
        QSignalSpy done(page, &AssignmentPage::transferDone);
        test::choose(page->modeList(), item);
        ASSERT_TRUE(done.count() > 0 || done.wait(5000));
    }
    void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k, Qt::NoModifier); }
    void click(QWidget* w) { test::windowClick(*w, w->rect().center()); }
    Rig rig{1};
    AssignmentPage* page = nullptr;
};

TEST_F(KeyboardPage, tab_goes_through_header_tabs_and_page_in_reading_order) {
    rig.dlg->languageList()->setFocus(Qt::OtherFocusReason);
    QList<QWidget*> visited;
    for (int i = 0; i < 200; ++i) {
        key(Qt::Key_Tab);
        if (rig.dlg->languageList()->hasFocus()) {
            break;
        }
        visited.append(QApplication::focusWidget());
    }
    ASSERT_GE(visited.size(), 10);
    EXPECT_EQ(visited[0]->objectName(), QString::number(MainWindow::kMinimiseButton));
    EXPECT_EQ(visited[2], rig.dlg->tab(1));
    EXPECT_EQ(visited[4], rig.dlg->tab(3));
    // The page: the top of the keypad column, its key slots by number, then the middle column from the
    // top, the mouse settings last.
    EXPECT_EQ(visited[5], page->control(kButtonOptions));
    EXPECT_EQ(visited[6], page->slotButton(1));
    EXPECT_EQ(visited[7], page->slotButton(2));
    const auto at = [&](QWidget* w) { return visited.indexOf(w); };
    EXPECT_LT(at(page->slotButton(22)), at(page->modeList()));
    EXPECT_LT(at(page->modeList()), at(page->control(kWrite)));
    EXPECT_LT(at(page->control(kWrite)), at(page->paletteButton(kL1Palette)));
    EXPECT_LT(at(page->paletteButton(kL1Palette)), at(page->control(kSensitivity)));
    EXPECT_LT(at(page->control(kSensitivity)), at(page->slotButton(23)));
    EXPECT_TRUE(visited.contains(page->paletteButton(kFnPalette)));
    EXPECT_EQ(visited.size(), QSet<QWidget*>(visited.begin(), visited.end()).size()) << "a control twice";
    // Every stop is a control that is shown.
    for (QWidget* w : visited) {
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    }
}

TEST_F(KeyboardPage, click_a_slot_then_a_function_follows_the_rules_of_a_drop) {
    BoxWatcher boxes;
    const QString before = page->slotLabel(1);
    click(page->slotButton(1));
    EXPECT_EQ(page->selectedSlot(), 1);
    EXPECT_TRUE(page->slotButton(1)->selected());
    // L1 may not go on slot 1: refused as a drop is, the slot stays selected for another choice.
    click(page->paletteButton(kL1Palette));
    QTest::qWait(100);
    EXPECT_EQ(boxes.lines, QStringList{firstLine(TextId::RefuseFixedKey)});
    EXPECT_EQ(page->slotLabel(1), before);
    EXPECT_EQ(page->selectedSlot(), 1);
    click(page->paletteButton(kNcPalette));
    EXPECT_EQ(page->slotLabel(1), QStringLiteral("NC"));
    EXPECT_EQ(kiteCode(rig, 1), labelToCode(1, 0, "NC"));
    EXPECT_EQ(page->selectedSlot(), 0);
    EXPECT_FALSE(page->slotButton(1)->selected());
    // A function clicked with no slot selected goes nowhere; a second click lets a slot go.
    const ProfileImage work = rig.dlg->link().workImage(1);
    click(page->paletteButton(kL1Palette));
    EXPECT_EQ(rig.dlg->link().workImage(1), work);
    click(page->slotButton(2));
    click(page->slotButton(2));
    EXPECT_EQ(page->selectedSlot(), 0);
}

TEST_F(KeyboardPage, focus_and_space_select_a_slot_and_choose_a_function) {
    BoxWatcher boxes;
    page->slotButton(2)->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Space);
    EXPECT_EQ(page->selectedSlot(), 2);
    page->paletteButton(kFnPalette)->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Space);
    QTest::qWait(100);
    EXPECT_EQ(boxes.lines, QStringList{firstLine(TextId::RefuseFn)});
    rig.dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.dlg.get()));
    page->paletteButton(kL1Palette)->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Return);
    EXPECT_EQ(page->slotLabel(2), QStringLiteral("L1"));
    EXPECT_EQ(page->selectedSlot(), 0);
    // The slot's new button keeps its place in the Tab order.
    page->slotButton(1)->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), page->slotButton(2));
}

TEST_F(KeyboardPage, a_capture_started_by_space_takes_one_key_then_enter_confirms_it) {
    toMode(3);
    page->slotButton(1)->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Space);
    ASSERT_TRUE(page->captureOn());
    EXPECT_FALSE(page->captureKeysFree());
    // Tab is a key like any other for the capture.
    key(Qt::Key_Tab);
    EXPECT_EQ(page->capturedText(), QStringLiteral("Tab"));
    EXPECT_TRUE(page->captureKeysFree());
    ASSERT_EQ(QApplication::focusWidget(), page->control(kCaptureOk));
    key(Qt::Key_Return);
    EXPECT_FALSE(page->captureOn());
    EXPECT_EQ(page->slotLabel(1), QStringLiteral("Tab"));
}

TEST_F(KeyboardPage, a_capture_started_by_a_click_keeps_taking_keys) {
    toMode(3);
    click(page->slotButton(1));
    ASSERT_TRUE(page->captureOn());
    key(Qt::Key_A);
    key(Qt::Key_Tab);
    EXPECT_EQ(page->capturedText(), QStringLiteral("Tab"));
    EXPECT_FALSE(page->captureKeysFree());
}

TEST_F(KeyboardPage, sc_kbd_without_an_on_screen_keyboard_says_so) {
    QTemporaryDir empty;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(empty.path()));
    toMode(3);
    BoxWatcher boxes;
    click(page->control(kScKbd));
    QTest::qWait(100);
    qputenv("PATH", path);
    EXPECT_EQ(boxes.lines, QStringList{firstLine(TextId::NoOnScreenKeyboard)});
}

} // namespace
} // namespace zav
