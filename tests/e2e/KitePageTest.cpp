#include "app/MainWindow.h"
#include "controls/FramedLabel.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinMessageBox.h"
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
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace zav {
namespace {

using test::drag;
using test::Rig;
using test::slotCentre;
using test::waitTransfer;

constexpr int kNcPalette = 1049;
constexpr int kL1Palette = 1040;
constexpr int kFnPalette = 1111;
constexpr int kTouchPad = 1110;

using test::BoxWatcher;

using test::q;

std::uint8_t kiteCode(Rig& rig, int slot, int index) {
    return recordAt(rig.dlg->link().workImage(1), 1, slot)[static_cast<std::size_t>(index)];
}

TEST(KitePage, drag_nc_onto_slot_1_and_write_reaches_the_adapter) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    const QRect home = page->paletteButton(kNcPalette)->geometry();
    drag(page, kNcPalette, slotCentre(page, 1));
    EXPECT_EQ(page->slotLabel(1), QStringLiteral("NC"));
    EXPECT_EQ(page->paletteButton(kNcPalette)->geometry(), home);
    const int index = slotToIndex(1, 1);
    EXPECT_EQ(kiteCode(rig, 0, index), labelToCode(1, 0, "NC"));

    BoxWatcher boxes;
    QSignalSpy done(page, &AssignmentPage::transferDone);
    QTest::mouseClick(page->control(1007), Qt::LeftButton);
    ASSERT_TRUE(done.count() > 0 || done.wait(5000));
    EXPECT_EQ(boxes.lines, QStringList{q(TextId::WriteComplete)});
    const ProfileImage bank = rig.adapter.bank(1, 0);
    EXPECT_EQ(bank[static_cast<std::size_t>(index)], labelToCode(1, 0, "NC"));
    EXPECT_EQ(bank, rig.dlg->link().sendImage(1));
}

TEST(KitePage, refusals_leave_slot_and_record_alone) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    const QString before1 = page->slotLabel(1);
    const QString before2 = page->slotLabel(2);
    const ProfileImage work = rig.dlg->link().workImage(1);
    BoxWatcher boxes;
    drag(page, kL1Palette, slotCentre(page, 1));
    drag(page, kFnPalette, slotCentre(page, 2));
    QTest::qWait(100);
    EXPECT_EQ(boxes.lines, (QStringList{q(TextId::RefuseFixedKey), q(TextId::RefuseFn)}));
    EXPECT_EQ(page->slotLabel(1), before1);
    EXPECT_EQ(page->slotLabel(2), before2);
    EXPECT_EQ(rig.dlg->link().workImage(1), work);
    EXPECT_TRUE(page->paletteButton(kFnPalette)->geometry().topLeft() == QPoint(464, 560));
    // "Fn" is welcome on slot 17; a drop outside every slot just goes home.
    drag(page, kFnPalette, slotCentre(page, 17));
    EXPECT_EQ(page->slotLabel(17), QStringLiteral("Fn"));
    drag(page, kL1Palette, QPoint(700, 20));
    EXPECT_EQ(page->paletteButton(kL1Palette)->geometry().topLeft(), QPoint(624, 320));
}

TEST(KitePage, dragging_against_the_edge_stays_inside_the_page) {
    Rig rig(0);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    MoveButton* button = page->paletteButton(kL1Palette);
    QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
    const QPoint global = page->mapToGlobal(QPoint(-300, 5000));
    QMouseEvent move(QEvent::MouseMove, QPointF(button->mapFromGlobal(global)), QPointF(global), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
    EXPECT_EQ(button->geometry().left(), 0);
    EXPECT_EQ(button->geometry().bottom(), page->height() - 1);
    QTest::mouseRelease(button, Qt::LeftButton, {}, button->mapFromGlobal(global));
    EXPECT_EQ(button->geometry().topLeft(), QPoint(624, 320));
}

TEST(KitePage, slot_22_follows_the_stick_selector) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    auto record = page->record();
    const std::string atDpad = codeToLabel(1, 0, record[8]);
    const std::string atStick = codeToLabel(1, 0, record[43]);
    ASSERT_NE(atDpad, atStick);
    EXPECT_EQ(page->slotLabel(22).toStdString(), atDpad);
    const QString other21 = page->slotLabel(21);
    QTest::mouseClick(page->findChild<ToggleButton*>(QStringLiteral("1141")), Qt::LeftButton);
    EXPECT_EQ(page->slotLabel(22).toStdString(), atStick);
    EXPECT_EQ(page->slotLabel(21), other21);
    // A drop on slot 22 now changes index 43, in both pages.
    drag(page, kNcPalette, slotCentre(page, 22));
    EXPECT_EQ(record[43], labelToCode(1, 0, "NC"));
    EXPECT_EQ(record[8], labelToCode(1, 0, atDpad));
    EXPECT_EQ(recordAt(rig.dlg->link().sendImage(1), 1, 0)[43], labelToCode(1, 0, "NC"));
    QTest::mouseClick(page->findChild<ToggleButton*>(QStringLiteral("1137")), Qt::LeftButton);
    EXPECT_EQ(page->slotLabel(22).toStdString(), atDpad);
}

TEST(KitePage, mode_change_shows_the_right_palette_and_slots) {
    Rig rig(0);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    EXPECT_TRUE(page->paletteButton(kTouchPad)->isVisible());
    EXPECT_FALSE(page->slotButton(28)->isVisible());
    EXPECT_FALSE(page->slotButton(29)->isVisible());
    EXPECT_FALSE(page->slotButton(32)->isVisible());
    test::choose(page->modeList(), 1);
    EXPECT_FALSE(page->paletteButton(kTouchPad)->isVisible());
    test::choose(page->modeList(), 2);
    EXPECT_EQ(page->paletteButton(1036)->label(), QStringLiteral("A"));
    test::choose(page->modeList(), 3);
    EXPECT_TRUE(page->slotButton(32)->isVisible());
    EXPECT_FALSE(page->paletteButton(1036)->isVisible());
    EXPECT_TRUE(page->control(1148)->isVisible());
    EXPECT_FALSE(page->slotButton(28)->isVisible());
    test::choose(page->modeList(), 0);
    EXPECT_FALSE(page->slotButton(32)->isVisible());
    EXPECT_TRUE(page->paletteButton(kTouchPad)->isVisible());
    EXPECT_EQ(page->paletteButton(1036)->label(), QString::fromUtf8("\u25CB"));
}

TEST(KitePage, a_mode_never_read_shows_its_defaults) {
    Rig rig(3); // another model's adapter: nothing is read for this page
    rig.start();
    rig.showTab(1);
    AssignmentPage* page = rig.dlg->page(1);
    rig.adapter.clearLog();
    test::choose(page->modeList(), 1);
    ProfileImage expected{};
    for (int slot = 0; slot < 3; ++slot) {
        resetToDefaults(expected, 1, 1, slot);
    }
    for (int slot = 0; slot < 3; ++slot) {
        const auto got = recordAt(rig.dlg->link().workImage(1), 1, slot);
        const auto want = recordAt(expected, 1, slot);
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (i < 44 || i > 47) { // bytes the defaults leave alone
                EXPECT_EQ(got[i], want[i]) << slot << " " << i;
            }
        }
    }
    EXPECT_TRUE(rig.adapter.frames().empty() ||
                std::all_of(rig.adapter.frames().begin(), rig.adapter.frames().end(),
                            [](const auto& f) { return f.code() == 0x71; }));
}

TEST(KitePage, mode_change_reads_the_bank_of_a_kite) {
    Rig rig(1);
    ProfileImage bank = rig.adapter.bank(1, 2);
    bank[5] = 0x21;
    rig.adapter.setBank(1, 2, bank);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    QSignalSpy done(page, &AssignmentPage::transferDone);
    test::choose(page->modeList(), 2);
    ASSERT_TRUE(done.count() > 0 || done.wait(5000));
    EXPECT_TRUE(page->readFromDevice(2));
    EXPECT_EQ(rig.dlg->link().workImage(1), bank);
    EXPECT_EQ(page->slotLabel(indexToSlot(1, 5)).toStdString(), codeToLabel(1, 2, 0x21));
}

TEST(KitePage, write_without_the_right_adapter_sends_nothing) {
    for (int attached : {0, 3}) {
        Rig rig(attached);
        rig.start();
        rig.adapter.clearLog();
        BoxWatcher boxes;
        QTest::mouseClick(rig.dlg->page(1)->control(1007), Qt::LeftButton);
        QTest::qWait(100);
        EXPECT_EQ(boxes.lines,
                  QStringList{q(attached == 0 ? TextId::ZavNotConnected : TextId::OverwriteError)});
        for (const auto& frame : rig.adapter.frames()) {
            EXPECT_EQ(frame.code(), 0x71); // polls only
        }
    }
}

TEST(KitePage, a_failed_write_is_reported_and_nothing_committed) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    drag(page, kNcPalette, slotCentre(page, 2));
    const ProfileImage before = rig.adapter.bank(1, 0);
    rig.adapter.refuseCommand(0x77);
    BoxWatcher boxes;
    QSignalSpy done(page, &AssignmentPage::transferDone);
    QTest::mouseClick(page->control(1007), Qt::LeftButton);
    ASSERT_TRUE(done.count() > 0 || done.wait(5000));
    EXPECT_EQ(boxes.lines, QStringList{q(TextId::OverwriteError)});
    EXPECT_EQ(rig.adapter.bank(1, 0), before);
}

TEST(KitePage, slot_change_without_adapter_is_refused) {
    Rig rig(0);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    BoxWatcher boxes;
    test::choose(page->slotList(), 1);
    QTest::qWait(100);
    EXPECT_EQ(boxes.lines, QStringList{q(TextId::ZavNotConnected)});
    EXPECT_EQ(page->profileSlot(), 0);
}

// --- keyboard mode -------------------------------------------------------------------------

struct Capture : ::testing::Test {
    void SetUp() override {
        rig.start();
        page = rig.dlg->page(1);
        QSignalSpy done(page, &AssignmentPage::transferDone);
        test::choose(page->modeList(), 3);
        ASSERT_TRUE(done.count() > 0 || done.wait(5000));
        QTest::mouseClick(page->slotButton(3), Qt::LeftButton);
        ASSERT_TRUE(page->captureOn());
    }
    void press(QKeyEvent& event) { QApplication::sendEvent(page, &event); }
    QString shown() const { return page->capturedText(); }
    void ok() { QTest::mouseClick(page->control(1089), Qt::LeftButton); }
    Rig rig{1};
    AssignmentPage* page = nullptr;
};

TEST_F(Capture, shift_is_told_left_from_right) {
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, 62, 0xffe2, 0);
    press(right);
    EXPECT_EQ(shown(), QStringLiteral("RSft"));
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, 50, 0xffe1, 0);
    press(left);
    EXPECT_EQ(shown(), QStringLiteral("LSft"));
    ok();
    EXPECT_EQ(page->slotLabel(3), QStringLiteral("LSft"));
    EXPECT_FALSE(page->captureOn());
}

TEST_F(Capture, a_mouse_side_button_and_the_wheel) {
    QTest::mousePress(page, Qt::BackButton, {}, QPoint(100, 100));
    EXPECT_EQ(shown(), QStringLiteral("Back"));
    QWheelEvent wheel(QPointF(100, 100), QPointF(page->mapToGlobal(QPoint(100, 100))), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(page, &wheel);
    EXPECT_EQ(shown(), QStringLiteral("ScrUp"));
    // A left click on the keypad picture captures the left button; one on OK does not.
    QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(200, 400));
    EXPECT_EQ(shown(), QStringLiteral("MsL"));
    ok();
    EXPECT_EQ(page->slotLabel(3), QStringLiteral("MsL"));
}

TEST_F(Capture, a_key_without_label_changes_nothing_and_cancel_keeps_the_slot) {
    const QString before = page->slotLabel(3);
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    press(a);
    EXPECT_EQ(shown(), QStringLiteral("A"));
    QKeyEvent media(QEvent::KeyPress, Qt::Key_MediaPlay, Qt::NoModifier);
    press(media);
    EXPECT_EQ(shown(), QStringLiteral("A"));
    QTest::mouseClick(page->control(1088), Qt::LeftButton);
    EXPECT_EQ(page->slotLabel(3), before);
    EXPECT_FALSE(page->captureOn());
}

TEST_F(Capture, nc_then_ok_assigns_nc) {
    QTest::mouseClick(page->control(1147), Qt::LeftButton);
    EXPECT_EQ(shown(), QStringLiteral("NC"));
    ok();
    EXPECT_EQ(page->slotLabel(3), QStringLiteral("NC"));
    // Collected into the record on write.
    page->collect();
    EXPECT_EQ(page->record()[static_cast<std::size_t>(slotToIndex(1, 3))], labelToCode(1, 3, "NC"));
}

} // namespace
} // namespace zav

namespace zav {
namespace {

TEST(KitePage, opening_the_slot_list_drops_the_blank_item) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    ASSERT_EQ(page->slotList()->count(), 4); // the connect pass added " "
    EXPECT_EQ(page->slotList()->itemText(3), QStringLiteral(" "));
    test::windowClick(*page->slotList(), QPoint(20, 10));
    ASSERT_TRUE(page->slotList()->view()->isVisible());
    QTest::keyClick(page->slotList()->view(), Qt::Key_Escape);
    EXPECT_EQ(page->slotList()->count(), 3);
    EXPECT_EQ(page->slotList()->currentIndex(), 0);
}

} // namespace
} // namespace zav
