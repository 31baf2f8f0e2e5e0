#include "app/MainWindow.h"
#include "controls/SkinComboBox.h"
#include "controls/ToggleButton.h"
#include "device/DeviceWatcher.h"
#include "device/HidApiBackend.h"
#include "pages/AssignmentPage.h"
#include "profiles/AdapterBanks.h"
#include "tests/device/GoldenFrames.h"
#include "tests/e2e/BoxWatcher.h"
#include "tests/hidraw/HidrawTestbed.h"
#include "text/Texts.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zav {
namespace {

using test::BoxWatcher;

constexpr int kWaitMs = 5000;
constexpr int kEnglish = 1033;

// What a node sees when the window connects to it: identification, then one read of bank 0 ("r",
// sixteen "s", "t") with nothing in between, then only status frames (poll, capability).
void expectIdentifiedThenReadOnce(const HidrawNode& node) {
    std::vector<std::uint8_t> codes;
    for (const HidrawNode::Output& output : node.outputs()) {
        if (output.bytes[2] == cmd::kStatus) {
            EXPECT_EQ(output.bytes, test::kStatusFrame);
        }
        codes.push_back(output.bytes[2]);
    }
    std::vector<std::uint8_t> read(16, cmd::kReadChunk);
    read.insert(read.begin(), cmd::kReadStart);
    read.push_back(cmd::kReadSum);
    const auto at = std::search(codes.begin(), codes.end(), read.begin(), read.end());
    ASSERT_NE(at, codes.end());
    EXPECT_NE(at, codes.begin());
    EXPECT_EQ(std::count(codes.begin(), codes.end(), cmd::kStatus) + 18, std::ssize(codes));
}

// The program's window, backend and watcher, wired as the program wires them, over an emulated
// USB bus that starts empty.
struct MainWindowHotplug : ::testing::Test {
    MainWindowHotplug() {
        // Profiles go to a Documents folder of this test's own.
        qputenv("ZAVORA_DOCUMENTS_DIR", documents.path().toLocal8Bit());
        dlg = std::make_unique<MainWindow>(backend);
        watcher = std::make_unique<DeviceWatcher>([this] { return backend.enumerate(); });
        QObject::connect(watcher.get(), &DeviceWatcher::deviceChanged, dlg.get(),
                         &MainWindow::onDeviceChange);
    }

    void SetUp() override {
        ASSERT_TRUE(watcher->usingUdev());
        QSignalSpy passes(dlg.get(), &MainWindow::connectPassFinished);
        dlg->start(kEnglish);
        dlg->show();
        ASSERT_TRUE(passes.count() > 0 || passes.wait(kWaitMs));
    }

    // After a plug, an unplug or a bare udev event: waits for the watcher's signal, the window's
    // handling of it and the connect pass that follows. Signals arrive only through this thread's
    // event loop, so none can come before the spies exist.
    void settle() {
        QSignalSpy changed(watcher.get(), &DeviceWatcher::deviceChanged);
        QSignalSpy handled(dlg.get(), &MainWindow::deviceChangeHandled);
        QSignalSpy passes(dlg.get(), &MainWindow::connectPassFinished);
        ASSERT_TRUE(changed.wait(kWaitMs));
        ASSERT_TRUE(handled.count() > 0 || handled.wait(kWaitMs));
        ASSERT_TRUE(passes.count() > 0 || passes.wait(kWaitMs));
    }

    void expectShown(int model) {
        EXPECT_EQ(dlg->currentTab(), model);
        for (int m = 1; m <= 3; ++m) {
            EXPECT_EQ(dlg->page(m)->isVisible(), m == model) << m;
            EXPECT_EQ(dlg->tab(m)->on(), m == model) << m;
        }
    }

    // Only the page of `model` polls; none when it is 0.
    void expectPolling(int model) {
        for (int m = 1; m <= 3; ++m) {
            EXPECT_EQ(dlg->page(m)->polling(), m == model) << m;
        }
    }

    HidrawTestbed bed; // first: the watcher must find the testbed's udev when it starts
    QTemporaryDir documents;
    HidApiBackend backend;
    std::unique_ptr<MainWindow> dlg;
    std::unique_ptr<DeviceWatcher> watcher;
};

TEST_F(MainWindowHotplug, a_plugged_adapter_comes_forward_and_is_read_once_and_its_page_stays_when_it_goes) {
    EXPECT_FALSE(dlg->connected());
    expectShown(1);
    expectPolling(0);

    HidrawNode& fern = bed.plugModel(3);
    fern.adapter().setBanks(freshAdapterBanks());
    ProfileImage bank = fern.adapter().bank(3, 0);
    bank[511] = 0x5C;
    fern.adapter().setBank(3, 0, bank);
    QSignalSpy reads(dlg->page(3), &AssignmentPage::firstReadDone);
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_TRUE(dlg->connected());
    expectShown(3);
    expectPolling(3);
    EXPECT_EQ(reads.count(), 1);
    EXPECT_EQ(dlg->link().workImage(3), bank);
    expectIdentifiedThenReadOnce(fern);

    dlg->page(3)->profileList()->setEditText(QStringLiteral("Mine"));
    bed.unplug(fern);
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_FALSE(dlg->connected());
    expectShown(3);
    EXPECT_TRUE(dlg->page(3)->profileList()->currentText().isEmpty());
    // The poll finds the adapter gone at its next tick and stops.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg->page(3)->polling(); }, kWaitMs));

    HidrawNode& moss = bed.plugModel(2);
    QSignalSpy mossReads(dlg->page(2), &AssignmentPage::firstReadDone);
    ASSERT_NO_FATAL_FAILURE(settle());
    expectShown(2);
    expectPolling(2);
    EXPECT_EQ(mossReads.count(), 1);
    expectIdentifiedThenReadOnce(moss);
}

TEST_F(MainWindowHotplug, an_adapter_gone_and_back_within_one_burst_is_connected_and_read_again) {
    HidrawNode& first = bed.plugModel(1);
    ASSERT_NO_FATAL_FAILURE(settle());
    ASSERT_TRUE(dlg->connected());

    // Unplugged and plugged again faster than the watcher's settle time.
    bed.unplug(first);
    HidrawNode& again = bed.plugModel(1);
    QSignalSpy reads(dlg->page(1), &AssignmentPage::firstReadDone);
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_TRUE(dlg->connected());
    EXPECT_EQ(reads.count(), 1);
    expectIdentifiedThenReadOnce(again);

    // Another model in its place within one burst: its page comes forward.
    bed.unplug(again);
    bed.plugModel(3);
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(dlg->link().model(), 3);
    expectShown(3);
    expectPolling(3);
}

// Refused opens: umockdev's preload keeps a slot of its 50-entry descriptor table for each, so one
// process aborts after about eight rounds of this test (--gtest_repeat).
TEST_F(MainWindowHotplug, adapter_that_cannot_be_opened_is_told_once_and_connects_once_access_is_granted) {
    BoxWatcher boxes;
    HidrawNode& kite = bed.plugModel(1);
    bed.blockOpen(kite, true); // listed, but udev has not granted this user the node
    ASSERT_NO_FATAL_FAILURE(settle());
    bed.hidrawEvent(kite, "change"); // further events while access is still refused say nothing more
    ASSERT_NO_FATAL_FAILURE(settle());
    ASSERT_EQ(boxes.lines.size(), 1);
    EXPECT_EQ(boxes.lines[0].toStdString(), textLines(TextId::AccessDenied, 0).front());
    EXPECT_FALSE(dlg->connected());
    expectPolling(0);
    EXPECT_TRUE(kite.outputs().empty());

    // Access granted; udev announces the node again with a change event.
    bed.blockOpen(kite, false);
    QSignalSpy reads(dlg->page(1), &AssignmentPage::firstReadDone);
    bed.hidrawEvent(kite, "change");
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_TRUE(dlg->connected());
    expectPolling(1);
    EXPECT_EQ(reads.count(), 1);
    EXPECT_EQ(boxes.lines.size(), 1);
    expectIdentifiedThenReadOnce(kite);
}

} // namespace
} // namespace zav
