#include "device/DeviceWorker.h"
#include "profiles/ProfileRecord.h"
#include "tests/e2e/Rig.h"

namespace zav {
namespace {

using namespace test;

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
    const QString error = q(TextId::OverwriteError);
    const std::vector<std::tuple<const char*, int, std::function<void(SimulatedAdapter&)>, QString>> cases = {
        {"another model", 3, [](SimulatedAdapter&) {}, error},
        {"first read fails", 1, [](SimulatedAdapter& a) { a.dropReadChunkReply(5); }, error},
        {"w refused", 1, [](SimulatedAdapter& a) { a.refuseCommand(cmd::kCommit); }, error},
        {"chunk refused", 1, [](SimulatedAdapter& a) { a.refuseDataChunk(9); }, error},
        {"wrong sum", 1, [](SimulatedAdapter& a) { a.reportWrongSum(true); }, error},
        {"committed, check read fails", 1, [](SimulatedAdapter& a) { a.dropReadChunkReplyAfterCommit(4); },
         qstr(textLines(TextId::WriteUnconfirmed, 0).front())},
    };
    for (const auto& [name, attached, fault, line] : cases) {
        SCOPED_TRACE(name);
        Rig rig(attached);
        rig.start();
        rig.dlg->link().workImage(1)[300] = 0x5A;
        const ProfileImage stored = rig.adapter.bank(1, 0), edited = rig.dlg->link().workImage(1);
        fault(rig.adapter);
        rig.adapter.clearLog();
        EXPECT_EQ(pressWrite(rig.page(1)), QStringList{line});
        EXPECT_EQ(rig.dlg->link().workImage(1), edited);
        EXPECT_EQ(rig.adapter.bank(1, 0) == stored, line == error);
        if (attached != 1) {
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
        rig.dlg->link().workImage(1)[250] = static_cast<std::uint8_t>(k);
        const ProfileImage edited = rig.dlg->link().workImage(1), stored = rig.adapter.bank(1, 0);
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

// A mode read that fails at any frame shows the new mode's defaults, never the previous mode's bank.
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
    Rig rig(1);
    rig.adapter.dropReadChunkReply(3);
    const ProfileImage before = rig.dlg->link().workImage(1);
    rig.start();
    EXPECT_FALSE(rig.page(1)->readFromDevice(0));
    EXPECT_EQ(rig.dlg->link().workImage(1), before);
}

// A connect pass's read waits behind a mode read; a Write between would gather a page about to be replaced.
// While the adapter stalls, the window stays live and closes without waiting.
TEST(Faults, locked_while_a_transfer_is_pending_and_live_while_the_adapter_stalls) {
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

    rig.adapter.setReportLatency(std::chrono::milliseconds(250));
    QSignalSpy done(page, &AssignmentPage::transferDone);
    QTest::mouseClick(write, Qt::LeftButton);
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
    boxes.lines.clear();
    rig.adapter.setReportLatency(std::chrono::microseconds(0));
    ASSERT_TRUE(done.count() > 0 || done.wait(30000));
    EXPECT_FALSE(cover->testAttribute(Qt::WA_SetCursor));
    EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.lines == QStringList{q(TextId::WriteComplete)}; }, 2000));

    // Closing while the adapter stalls does not wait for it.
    rig.adapter.setReportLatency(std::chrono::milliseconds(1200));
    QTest::mouseClick(write, Qt::LeftButton);
    QTest::qWait(50);
    rig.dlg->reject();
    EXPECT_FALSE(rig.dlg->isVisible());
    rig.adapter.setReportLatency(std::chrono::microseconds(0));
}

} // namespace
} // namespace zav
