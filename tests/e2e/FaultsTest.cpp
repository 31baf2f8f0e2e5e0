// What the window shows when the adapter fails, stalls or vanishes: never a false "Write complete.",
// never half a bank, and a window that stays live.
#include "device/DeviceWorker.h"
#include "profiles/ProfileRecord.h"
#include "tests/e2e/Rig.h"

namespace zav {
namespace {

using test::pressWrite;
using test::q;
using test::Rig;

ProfileImage marked(std::uint8_t seed) {
    ProfileImage image{};
    for (int slot = 0; slot < 3; ++slot) {
        resetToDefaults(image, 1, 0, slot);
    }
    for (std::size_t i = 200; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i + seed);
    }
    return image;
}

TEST(Faults, a_failed_write_is_never_complete_and_keeps_the_page) {
    struct Case {
        const char* name;
        int attached;
        std::function<void(SimulatedAdapter&)> fault;
        QString line;
    };
    const QString error = q(TextId::OverwriteError);
    const std::vector<Case> cases = {
        {"another model", 3, [](SimulatedAdapter&) {}, error},
        {"first read fails", 1, [](SimulatedAdapter& a) { a.dropReadChunkReply(5); }, error},
        {"w refused", 1, [](SimulatedAdapter& a) { a.refuseCommand(cmd::kCommit); }, error},
        {"chunk refused", 1, [](SimulatedAdapter& a) { a.refuseDataChunk(9); }, error},
        {"wrong sum", 1, [](SimulatedAdapter& a) { a.reportWrongSum(true); }, error},
        // Committed, but its check read fails.
        {"check read", 1, [](SimulatedAdapter& a) { a.dropReadChunkReplyAfterCommit(4); },
         qstr(textLines(TextId::WriteUnconfirmed, 0).front())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.attached);
        rig.start();
        rig.dlg->link().workImage(1)[300] = 0x5A;
        const ProfileImage stored = rig.adapter.bank(1, 0);
        const ProfileImage edited = rig.dlg->link().workImage(1);
        c.fault(rig.adapter);
        rig.adapter.clearLog();
        EXPECT_EQ(pressWrite(rig.page(1)), QStringList{c.line});
        EXPECT_EQ(rig.dlg->link().workImage(1), edited);
        EXPECT_EQ(rig.adapter.bank(1, 0) == stored, c.line == error);
        if (c.attached != 1) {
            EXPECT_TRUE(test::only(rig.adapter, cmd::kStatus)); // polls only
        } else {
            rig.adapter.clearFaults();
            EXPECT_EQ(pressWrite(rig.page(1)), QStringList{q(TextId::WriteComplete)});
            EXPECT_EQ(rig.adapter.bank(1, 0), rig.dlg->link().sendImage(1));
        }
    }
}

TEST(Faults, adapter_vanishing_after_any_frame_of_a_write) {
    Rig rig(1);
    rig.adapter.setBank(1, 0, marked(1));
    rig.start();
    // Frame 0 is the status frame; then "u", 32 data frames, "v" and "w".
    for (int k = 0; k <= 35; ++k) {
        rig.dlg->link().workImage(1)[250] = static_cast<std::uint8_t>(k); // something to write
        const ProfileImage edited = rig.dlg->link().workImage(1);
        const ProfileImage stored = rig.adapter.bank(1, 0);
        rig.adapter.vanishAfterFrames(1 + k);
        EXPECT_EQ(pressWrite(rig.page(1)), QStringList{q(TextId::OverwriteError)}) << k;
        EXPECT_EQ(rig.dlg->link().workImage(1), edited) << k;
        EXPECT_TRUE(k == 35 || rig.adapter.bank(1, 0) == stored) << k; // nothing committed
        rig.adapter.clearFaults();
        rig.adapter.plug(1);
        rig.deviceChange();
        ASSERT_TRUE(rig.dlg->connected()) << k;
    }
}

// A mode read that fails at any frame shows the defaults of the new mode, even when that mode's bank
// was read before: the work page still holds the previous mode's bank.
TEST(Faults, a_failed_read_never_shows_half_a_bank) {
    for (int k = 0; k < 18; ++k) {
        Rig rig(1);
        rig.adapter.setBank(1, 1, marked(7));
        rig.start();
        AssignmentPage* page = rig.page(1);
        test::waitTransfer(page, [&] { test::choose(page->modeList(), 1); });
        test::waitTransfer(page, [&] { test::choose(page->modeList(), 0); });
        rig.adapter.vanishAfterFrames(k);
        test::waitTransfer(page, [&] { test::choose(page->modeList(), 1); });
        ASSERT_EQ(page->mode(), 1);
        ProfileImage defaults = rig.dlg->link().workImage(1);
        for (int slot = 0; slot < 3; ++slot) {
            resetToDefaults(defaults, 1, 1, slot);
        }
        EXPECT_EQ(rig.dlg->link().workImage(1), defaults) << k;
        EXPECT_NE(rig.dlg->link().workImage(1)[300], marked(7)[300]) << k;
    }
    // The connect pass's first read too.
    Rig rig(1);
    rig.adapter.dropReadChunkReply(3);
    const ProfileImage before = rig.dlg->link().workImage(1);
    rig.start();
    EXPECT_FALSE(rig.page(1)->readFromDevice(0));
    EXPECT_EQ(rig.dlg->link().workImage(1), before);
}

TEST(Faults, the_window_keeps_running_while_the_adapter_stalls) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.page(1);
    rig.adapter.setReportLatency(std::chrono::milliseconds(250));
    QSignalSpy done(page, &AssignmentPage::transferDone);
    QTest::mouseClick(page->control(1007), Qt::LeftButton);
    // The window's own timer brings the busy cursor once the wait has lasted, and no drag can start.
    auto* cover = page->findChild<QWidget*>(QStringLiteral("busyCover"));
    ASSERT_NE(cover, nullptr);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return cover->testAttribute(Qt::WA_SetCursor) && cover->cursor().shape() == Qt::BusyCursor; },
        3 * AssignmentPage::kBusyCursorDelayMs));
    EXPECT_TRUE(rig.dlg->worker().busy());
    EXPECT_EQ(done.count(), 0);
    MoveButton* palette = page->paletteButton(1040);
    EXPECT_NE(page->childAt(palette->mapTo(page, palette->rect().center())), palette);

    test::BoxWatcher boxes;
    rig.adapter.setReportLatency(std::chrono::microseconds(0));
    ASSERT_TRUE(done.count() > 0 || done.wait(30000));
    EXPECT_FALSE(cover->testAttribute(Qt::WA_SetCursor));
    EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.lines == QStringList{q(TextId::WriteComplete)}; }, 2000));

    // Closing while the adapter stalls does not wait for it.
    rig.adapter.setReportLatency(std::chrono::milliseconds(1200));
    QTest::mouseClick(page->control(1007), Qt::LeftButton);
    QTest::qWait(50);
    rig.dlg->reject();
    EXPECT_FALSE(rig.dlg->isVisible());
    rig.adapter.setReportLatency(std::chrono::microseconds(0));
}

// A connect pass is under way when the user changes the mode, so the pass's first read waits behind
// the mode read. The page stays locked until both are done: a Write clicked between would be gathered
// from a page the connect read is about to replace.
TEST(Transfers, a_page_stays_locked_while_any_of_its_transfers_is_pending) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.page(1);
    ProfileImage ps3 = rig.adapter.bank(1, 1);
    ps3[0] = 0x2A;
    rig.adapter.setBank(1, 1, ps3);
    rig.adapter.setReportLatency(std::chrono::milliseconds(1));
    rig.adapter.clearLog();
    test::BoxWatcher boxes;
    QSignalSpy passes(rig.dlg.get(), &MainWindow::connectPassFinished);
    QSignalSpy modeDone(page, &AssignmentPage::transferDone);
    rig.dlg->setReadDone(false);
    rig.dlg->startConnectPass();
    page->modeList()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    ASSERT_TRUE(modeDone.count() > 0 || modeDone.wait(5000));
    ASSERT_EQ(passes.count(), 0);
    EXPECT_TRUE(page->busy());

    QWidget* write = page->control(1007);
    QTest::mouseClick(rig.dlg->windowHandle(), Qt::LeftButton, {},
                      write->mapTo(rig.dlg.get(), write->rect().center()));
    ASSERT_TRUE(passes.count() > 0 || passes.wait(5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !page->busy(); }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(test::count(rig.adapter, cmd::kWrite), 0);
    EXPECT_TRUE(boxes.lines.isEmpty());
    EXPECT_EQ(rig.dlg->link().workImage(1), ps3);
    EXPECT_EQ(rig.dlg->link().sendImage(1), ps3);
}

// The slots of the family's own mouse show only with it, and take no drop meanwhile. When the status
// frame of a Write sees the new mouse first, the poll must still tell the pages.
TEST(Transfers, mouse_only_slots_follow_a_mouse_first_seen_by_a_write) {
    Rig rig(2);
    rig.adapter.setMouse(0x046D, 0xC077); // an ordinary mouse
    rig.start();
    AssignmentPage* page = rig.page(2);
    QSignalSpy polls(page, &AssignmentPage::pollDone);
    ASSERT_TRUE(polls.wait(5000));
    ASSERT_FALSE(page->slotButton(16)->isVisible());
    const QString before = page->slotLabel(16);
    test::drag(page, 1040, 16);
    EXPECT_EQ(page->slotLabel(16), before);

    rig.adapter.setMouse(0x2B7C, 0x00AF); // the family's own mouse
    EXPECT_EQ(pressWrite(page), QStringList{q(TextId::WriteComplete)});
    EXPECT_TRUE(QTest::qWaitFor([&] { return page->slotButton(16)->isVisible(); }, 2000));
    EXPECT_TRUE(page->slotButton(17)->isVisible());
}

} // namespace
} // namespace zav
