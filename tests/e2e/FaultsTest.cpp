#include "app/MainWindow.h"
#include "controls/SkinComboBox.h"
#include "device/DeviceWorker.h"
#include "pages/AssignmentPage.h"
#include "pages/MoveButton.h"
#include "profiles/ProfileRecord.h"
#include "tests/e2e/BoxWatcher.h"
#include "tests/e2e/Rig.h"
#include "text/Texts.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace zav {
namespace {

using test::BoxWatcher;
using test::Rig;

using test::q;

ProfileImage marked(std::uint8_t seed) {
    ProfileImage image{};
    resetToDefaults(image, 1, 0, 0);
    resetToDefaults(image, 1, 0, 1);
    resetToDefaults(image, 1, 0, 2);
    for (std::size_t i = 200; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i + seed);
    }
    return image;
}

// Presses Write on the first page and waits for its message.
QStringList pressWrite(Rig& rig) {
    BoxWatcher boxes;
    AssignmentPage* page = rig.dlg->page(1);
    QSignalSpy done(page, &AssignmentPage::transferDone);
    QTest::mouseClick(page->control(1007), Qt::LeftButton);
    if (done.count() == 0) {
        done.wait(10000);
    }
    (void)QTest::qWaitFor([&] { return !boxes.lines.isEmpty(); }, 2000);
    return boxes.lines;
}

void reconnect(Rig& rig) {
    rig.adapter.clearFaults();
    rig.adapter.plug(1);
    rig.deviceChange();
}

TEST(Faults, adapter_vanishing_after_any_frame_of_a_write) {
    Rig rig(1);
    rig.adapter.setBank(1, 0, marked(1));
    rig.start();
    ASSERT_TRUE(rig.dlg->connected());
    // Frame 0 is the status frame; then "u", 32 data frames, "v" and "w".
    for (int k = 0; k <= 35; ++k) {
        const ProfileImage work = rig.dlg->link().workImage(1);
        rig.dlg->link().workImage(1)[250] = static_cast<std::uint8_t>(k); // something to write
        const ProfileImage edited = rig.dlg->link().workImage(1);
        const ProfileImage stored = rig.adapter.bank(1, 0);
        rig.adapter.vanishAfterFrames(1 + k);
        EXPECT_EQ(pressWrite(rig), QStringList{q(TextId::OverwriteError)}) << k;
        EXPECT_EQ(rig.dlg->link().workImage(1), edited) << k;
        if (k < 35) {
            EXPECT_EQ(rig.adapter.bank(1, 0), stored) << k; // nothing committed
        }
        (void)work;
        reconnect(rig);
        ASSERT_TRUE(rig.dlg->connected()) << k;
    }
    // And afterwards a write goes through.
    EXPECT_EQ(pressWrite(rig), QStringList{q(TextId::WriteComplete)});
    EXPECT_EQ(rig.adapter.bank(1, 0), rig.dlg->link().sendImage(1));
}

TEST(Faults, refusals_and_a_wrong_sum_are_never_complete) {
    struct Case {
        const char* name;
        std::function<void(SimulatedAdapter&)> fault;
    };
    const std::vector<Case> cases = {
        {"u refused", [](SimulatedAdapter& a) { a.refuseCommand(0x75); }},
        {"w refused", [](SimulatedAdapter& a) { a.refuseCommand(0x77); }},
        {"chunk refused", [](SimulatedAdapter& a) { a.refuseDataChunk(9); }},
        {"wrong sum", [](SimulatedAdapter& a) { a.reportWrongSum(true); }},
    };
    for (const Case& c : cases) {
        Rig rig(1);
        rig.start();
        rig.dlg->link().workImage(1)[300] = 0x5A;
        const ProfileImage stored = rig.adapter.bank(1, 0);
        const ProfileImage edited = rig.dlg->link().workImage(1);
        c.fault(rig.adapter);
        EXPECT_EQ(pressWrite(rig), QStringList{q(TextId::OverwriteError)}) << c.name;
        EXPECT_EQ(rig.adapter.bank(1, 0), stored) << c.name;
        EXPECT_EQ(rig.dlg->link().workImage(1), edited) << c.name;
        rig.adapter.clearFaults();
        EXPECT_EQ(pressWrite(rig), QStringList{q(TextId::WriteComplete)}) << c.name;
    }
}

TEST(Faults, a_write_whose_check_read_fails_is_not_complete) {
    Rig rig(1);
    rig.start();
    // The adapter commits the write but its read-back loses a chunk.
    rig.dlg->link().workImage(1)[300] = 0x11;
    rig.adapter.dropReadChunkReplyAfterCommit(4);
    EXPECT_EQ(pressWrite(rig), QStringList{qstr(textLines(TextId::WriteUnconfirmed, 0).front())});
}

TEST(Faults, adapter_vanishing_during_a_mode_read_never_shows_half_a_bank) {
    for (int k = 0; k < 18; ++k) {
        Rig rig(1);
        rig.adapter.setBank(1, 1, marked(7));
        rig.start();
        AssignmentPage* page = rig.dlg->page(1);
        rig.adapter.vanishAfterFrames(k);
        QSignalSpy done(page, &AssignmentPage::transferDone);
        test::choose(page->modeList(), 1);
        ASSERT_TRUE(done.count() > 0 || done.wait(5000)) << k;
        EXPECT_FALSE(page->readFromDevice(1)) << k;
        // Not the adapter's bank, not a mix: the defaults of the mode.
        ProfileImage defaults = rig.dlg->link().workImage(1);
        for (int slot = 0; slot < 3; ++slot) {
            resetToDefaults(defaults, 1, 1, slot);
        }
        EXPECT_EQ(rig.dlg->link().workImage(1), defaults) << k;
        EXPECT_NE(rig.dlg->link().workImage(1)[300], marked(7)[300]) << k;
        reconnect(rig);
        EXPECT_TRUE(rig.dlg->connected()) << k;
    }
}

TEST(Faults, the_window_keeps_running_while_the_adapter_stalls) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    rig.adapter.setReportLatency(std::chrono::milliseconds(250));
    QSignalSpy done(page, &AssignmentPage::transferDone);
    QTest::mouseClick(page->control(1007), Qt::LeftButton);
    ASSERT_TRUE(page->busy());
    // The busy cursor comes once the wait has lasted, and goes with it.
    auto* cover = page->findChild<QWidget*>(QStringLiteral("busyCover"));
    ASSERT_NE(cover, nullptr);
    EXPECT_FALSE(cover->testAttribute(Qt::WA_SetCursor));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return cover->testAttribute(Qt::WA_SetCursor) && cover->cursor().shape() == Qt::BusyCursor; },
        3 * AssignmentPage::kBusyCursorDelayMs));
    // The window's own event loop goes on: timers fire and the window repaints while the write waits.
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 20; }, 5000));
    EXPECT_TRUE(page->busy());
    EXPECT_TRUE(rig.dlg->worker().busy());
    EXPECT_EQ(done.count(), 0);
    const QImage shot = rig.dlg->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    // Input to the page is held off meanwhile: a drop cannot start.
    QWidget* top = page->childAt(QPoint(480, 335)); // over a palette button
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(qobject_cast<MoveButton*>(top), nullptr);

    BoxWatcher boxes;
    rig.adapter.setReportLatency(std::chrono::microseconds(0));
    ASSERT_TRUE(done.count() > 0 || done.wait(30000));
    EXPECT_FALSE(page->busy());
    EXPECT_FALSE(cover->testAttribute(Qt::WA_SetCursor));
    (void)QTest::qWaitFor([&] { return !boxes.lines.isEmpty(); }, 2000);
    EXPECT_EQ(boxes.lines, QStringList{q(TextId::WriteComplete)});
}

TEST(Faults, closing_while_the_adapter_stalls) {
    Rig rig(1);
    rig.start();
    rig.adapter.setReportLatency(std::chrono::milliseconds(1200));
    QTest::mouseClick(rig.dlg->page(1)->control(1007), Qt::LeftButton);
    QTest::qWait(50);
    rig.dlg->reject();
    EXPECT_FALSE(rig.dlg->isVisible());
    rig.adapter.setReportLatency(std::chrono::microseconds(0));
}

TEST(Faults, an_adapter_that_cannot_be_opened_is_told_once) {
    Rig rig(2);
    rig.adapter.refuseOpen(true);
    BoxWatcher boxes;
    QSignalSpy told(rig.dlg.get(), &MainWindow::accessDeniedShown);
    rig.start();
    ASSERT_TRUE(told.count() > 0 || told.wait(3000));
    (void)QTest::qWaitFor([&] { return !boxes.lines.isEmpty(); }, 2000);
    EXPECT_EQ(boxes.lines, QStringList{q(TextId::AccessDenied).section(QLatin1Char('\n'), 0, 0)});
    EXPECT_FALSE(rig.dlg->connected());
    rig.deviceChange();
    QTest::qWait(100);
    EXPECT_EQ(told.count(), 1);
    // Once access is granted, the adapter is found.
    rig.adapter.refuseOpen(false);
    rig.deviceChange();
    EXPECT_TRUE(rig.dlg->connected());
    EXPECT_EQ(rig.dlg->currentTab(), 2);
}

} // namespace
} // namespace zav
