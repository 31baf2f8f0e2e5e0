#include "app/MainWindow.h"
#include "controls/SkinComboBox.h"
#include "device/DeviceLog.h"
#include "device/DeviceLogging.h"
#include "pages/AssignmentPage.h"
#include "pages/MoveButton.h"
#include "profiles/ProfileRecord.h"
#include "tests/e2e/BoxWatcher.h"
#include "tests/e2e/Rig.h"
#include "text/Texts.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>

namespace zav {
namespace {

using test::BoxWatcher;
using test::q;
using test::Rig;

// The first line of a message, as a message box shows it on its first line.
QString firstLine(TextId id) {
    return qstr(textLines(id, 0).front());
}

constexpr int kWaitMs = 5000;

// A key on a list that has the focus, as a user changes a mode or a slot with the keyboard.
void keyOnList(SkinComboBox* list, Qt::Key key) {
    list->setFocus();
    QWidget* focused = QApplication::focusWidget();
    QTest::keyClick(focused != nullptr ? focused : list, key);
}

void waitIdle(AssignmentPage* page) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !page->busy(); }, kWaitMs));
}

// A left click where the user sees the page's Write button, delivered by the window system to
// whatever lies on top there.
void clickWriteOnScreen(Rig& rig, AssignmentPage* page) {
    QWidget* button = page->control(1007);
    const QPoint at = button->mapTo(rig.dlg.get(), button->rect().center());
    QTest::mouseClick(rig.dlg->windowHandle(), Qt::LeftButton, {}, at);
}

bool anyWriteFrame(const SimulatedAdapter& adapter) {
    const auto codes = adapter.frameCodes();
    return std::find(codes.begin(), codes.end(), std::uint8_t{0x75}) != codes.end();
}

// A connect pass is under way when the user changes the mode, so the pass's first read is queued
// behind the mode read. The end of the mode read must not unlock the page while that read is
// pending: a Write clicked then would be gathered from a page the connect read is about to replace.
TEST(Transfers, a_page_stays_locked_while_any_of_its_transfers_is_pending) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    ProfileImage ps3 = rig.adapter.bank(1, 1);
    ps3[0] = 0x2A;
    rig.adapter.setBank(1, 1, ps3);
    rig.adapter.setReportLatency(std::chrono::milliseconds(1));
    rig.adapter.clearLog();

    BoxWatcher boxes;
    QSignalSpy passes(rig.dlg.get(), &MainWindow::connectPassFinished);
    QSignalSpy modeDone(page, &AssignmentPage::transferDone);
    rig.dlg->setReadDone(false);
    rig.dlg->startConnectPass();
    keyOnList(page->modeList(), Qt::Key_Down);
    ASSERT_EQ(page->mode(), 1);
    ASSERT_TRUE(modeDone.count() > 0 || modeDone.wait(kWaitMs));
    ASSERT_EQ(passes.count(), 0); // the connect read still waits behind it
    EXPECT_TRUE(page->busy());

    clickWriteOnScreen(rig, page);
    ASSERT_TRUE(passes.count() > 0 || passes.wait(kWaitMs));
    waitIdle(page);
    QTest::qWait(50);
    EXPECT_FALSE(anyWriteFrame(rig.adapter));
    EXPECT_TRUE(boxes.lines.isEmpty());
    EXPECT_EQ(rig.dlg->link().workImage(1), ps3);
    EXPECT_EQ(rig.dlg->link().sendImage(1), ps3);
}

// A mode change whose read fails shows the new mode's defaults, even when that mode's bank was
// read earlier: the work page still holds the previous mode's bank.
TEST(Transfers, a_failed_mode_read_shows_the_defaults_of_the_new_mode) {
    Rig rig(1);
    ProfileImage ps4 = rig.adapter.bank(1, 0);
    for (int slot = 0; slot < 3; ++slot) {
        recordAt(ps4, 1, slot)[0] = 0x2A;
    }
    rig.adapter.setBank(1, 0, ps4);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    ASSERT_EQ(rig.dlg->link().workImage(1), ps4);

    keyOnList(page->modeList(), Qt::Key_Down); // PS3, read
    waitIdle(page);
    keyOnList(page->modeList(), Qt::Key_Up); // PS4, read again
    waitIdle(page);
    ASSERT_TRUE(page->readFromDevice(0));
    ASSERT_TRUE(page->readFromDevice(1));
    ASSERT_EQ(rig.dlg->link().workImage(1), ps4);

    rig.adapter.unplug(); // faster than the device change
    keyOnList(page->modeList(), Qt::Key_Down);
    waitIdle(page);
    ASSERT_EQ(page->mode(), 1);
    ProfileImage expected = rig.dlg->link().workImage(1);
    for (int slot = 0; slot < 3; ++slot) {
        resetToDefaults(expected, 1, 1, slot);
    }
    EXPECT_EQ(rig.dlg->link().workImage(1), expected);
    EXPECT_NE(recordAt(rig.dlg->link().workImage(1), 1, 0)[0], 0x2A);
}

// After a replug the connect pass puts the slot list back on "ProFile1"; the page then edits that
// slot's record, not the one chosen before.
TEST(Transfers, the_page_slot_follows_the_slot_list_after_a_connect_pass) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    keyOnList(page->slotList(), Qt::Key_Down);
    waitIdle(page);
    keyOnList(page->slotList(), Qt::Key_Down);
    waitIdle(page);
    ASSERT_EQ(page->slotList()->currentText(), QStringLiteral("ProFile3"));
    ASSERT_EQ(page->profileSlot(), 2);

    rig.adapter.unplug();
    rig.deviceChange();
    rig.adapter.plug(1);
    rig.deviceChange();
    ASSERT_TRUE(rig.dlg->connected());
    EXPECT_EQ(page->slotList()->currentText(), QStringLiteral("ProFile1"));
    EXPECT_EQ(page->profileSlot(), 0);
    EXPECT_EQ(page->record().data(), recordAt(rig.dlg->link().workImage(1), 1, 0).data());
}

// The bytes after the records belong to the adapter: a write is complete when the records read
// back as sent, and a check read that fails is not called complete.
TEST(Transfers, write_is_judged_by_the_records_it_wrote) {
    Rig rig(3);
    rig.start();
    AssignmentPage* page = rig.dlg->page(3);
    auto pressWrite = [&] {
        BoxWatcher boxes;
        QSignalSpy done(page, &AssignmentPage::transferDone);
        QTest::mouseClick(page->control(1007), Qt::LeftButton);
        EXPECT_TRUE(done.count() > 0 || done.wait(kWaitMs));
        (void)QTest::qWaitFor([&] { return !boxes.lines.isEmpty(); }, 2000);
        return boxes.lines;
    };
    rig.adapter.changeBankFromOnCommit(165);
    EXPECT_EQ(pressWrite(), QStringList{q(TextId::WriteComplete)});
    rig.adapter.changeBankFromOnCommit(164);
    EXPECT_EQ(pressWrite(), QStringList{q(TextId::OverwriteError)});
    rig.adapter.clearFaults();
    rig.adapter.dropReadChunkReplyAfterCommit(2);
    EXPECT_EQ(pressWrite(), QStringList{firstLine(TextId::WriteUnconfirmed)});
}

// The status frame of a Write sees the new mouse first; the poll must still tell the pages.
TEST(Transfers, a_mouse_first_seen_by_a_write_still_shows_its_slots) {
    Rig rig(2);
    rig.adapter.setMouse(0x046D, 0xC077); // an ordinary mouse
    rig.start();
    AssignmentPage* page = rig.dlg->page(2);
    QSignalSpy polls(page, &AssignmentPage::pollDone);
    ASSERT_TRUE(polls.wait(kWaitMs));
    ASSERT_FALSE(page->slotButton(16)->isVisible());

    BoxWatcher boxes;
    rig.adapter.setMouse(0x2B7C, 0x00AF); // the family's own mouse
    QSignalSpy done(page, &AssignmentPage::transferDone);
    QTest::mouseClick(page->control(1007), Qt::LeftButton);
    ASSERT_TRUE(done.count() > 0 || done.wait(kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return page->slotButton(16)->isVisible(); }, 2000));
    EXPECT_TRUE(page->slotButton(17)->isVisible());
}

// A different adapter that takes the place of the one connected between two device changes is
// connected in turn, not left to the old page.
TEST(Transfers, a_device_change_compares_what_is_attached_with_what_was) {
    Rig rig(1);
    rig.start();
    ASSERT_EQ(rig.dlg->currentTab(), 1);
    rig.adapter.plug(3); // one unplug and plug, seen as one change
    QSignalSpy reads(rig.dlg->page(3), &AssignmentPage::firstReadDone);
    rig.deviceChange();
    EXPECT_EQ(rig.dlg->currentTab(), 3);
    EXPECT_TRUE(rig.dlg->page(3)->isVisible());
    EXPECT_TRUE(rig.dlg->page(3)->polling());
    EXPECT_FALSE(rig.dlg->page(1)->polling());
    EXPECT_EQ(reads.count(), 1);
}

QStringList gLogged;

void keepDeviceLines(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (context.category != nullptr && QByteArray(context.category) == "zavora.device") {
        gLogged << message;
    }
}

// The device code's reasons reach the zavora.device category, which says nothing until asked.
TEST(DeviceLogging, silent_by_default_and_shown_when_the_rules_ask) {
    gLogged.clear();
    installDeviceLogging();
    const QtMessageHandler previous = qInstallMessageHandler(keepDeviceLines);
    logDeviceFailure("hid_open_path /dev/hidraw7: Permission denied");
    EXPECT_TRUE(gLogged.isEmpty());
    QLoggingCategory::setFilterRules(QStringLiteral("zavora.device.debug=true"));
    logDeviceFailure("hid_open_path /dev/hidraw7: Permission denied");
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);
    setDeviceLogSink({});
    EXPECT_EQ(gLogged, QStringList{QStringLiteral("hid_open_path /dev/hidraw7: Permission denied")});
}

// The same adapter back on the same node within one burst (it reset itself on the bus): nothing
// tells it from one that stayed but the watcher's word that its node went and came.
TEST(Transfers, an_adapter_node_gone_and_back_runs_a_connect_pass) {
    Rig rig(1);
    rig.start();
    QSignalSpy reads(rig.dlg->page(1), &AssignmentPage::firstReadDone);
    QSignalSpy handled(rig.dlg.get(), &MainWindow::deviceChangeHandled);
    QSignalSpy passes(rig.dlg.get(), &MainWindow::connectPassFinished);
    rig.dlg->onDeviceChange(false); // a change event: nothing came or went
    ASSERT_TRUE(handled.wait(kWaitMs));
    QTest::qWait(50);
    EXPECT_EQ(passes.count(), 0);

    rig.dlg->onDeviceChange(true);
    ASSERT_TRUE(passes.wait(kWaitMs));
    EXPECT_EQ(reads.count(), 1);
    EXPECT_TRUE(rig.dlg->readDone());
}

} // namespace
} // namespace zav
