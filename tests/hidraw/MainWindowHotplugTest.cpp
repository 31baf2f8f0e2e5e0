#include "app/MainWindow.h"
#include "controls/SkinComboBox.h"
#include "controls/ToggleButton.h"
#include "device/DeviceWatcher.h"
#include "device/HidApiBackend.h"
#include "pages/AssignmentPage.h"
#include "profiles/AdapterBanks.h"
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

using Bytes = std::vector<std::uint8_t>;
using test::BoxWatcher;

constexpr int kWaitMs = 5000;
constexpr int kEnglish = 1033;

// "q" with parameter 0, as the node receives it.
const Bytes kStatusFrame = {0x05, 0xA5, 0x71, 0x5A, 0x8E, 0x00, 0xAC, 0xAD, 0xA2, 0xA3, 0xA0,
                            0xA1, 0xA6, 0xA7, 0xA4, 0xA5, 0xBA, 0xBB, 0xB8, 0xB9, 0xBE, 0xBF,
                            0xBC, 0xBD, 0xB2, 0xB3, 0xB0, 0xB1, 0xB6, 0xB7, 0xB4, 0xB5, 0x8A};

// Report id, 0xA5, command, 0x5A, its complement, parameter.
Bytes head(const Bytes& frame) {
    return Bytes(frame.begin(), frame.begin() + 6);
}

// What a node sees when the window connects to it: identification, then one read of bank 0
// ("r", sixteen "s", "t") with nothing in between, then only status frames (poll, capability).
void expectIdentifiedThenReadOnce(const HidrawNode& node) {
    const std::vector<Bytes> writes = node.writes();
    for (const Bytes& frame : writes) {
        ASSERT_EQ(frame.size(), 33u);
    }
    const auto read = std::find_if(writes.begin(), writes.end(), [](const Bytes& f) { return f[2] == 0x72; });
    ASSERT_NE(read, writes.end());
    ASSERT_NE(read, writes.begin());
    for (auto it = writes.begin(); it != read; ++it) {
        EXPECT_EQ(*it, kStatusFrame);
    }
    ASSERT_GE(writes.end() - read, 18);
    EXPECT_EQ(head(read[0]), (Bytes{0x05, 0xA5, 0x72, 0x5A, 0x8D, 0x00}));
    for (std::uint8_t n = 0; n < 16; ++n) {
        EXPECT_EQ(head(read[1 + n]), (Bytes{0x05, 0xA5, 0x73, 0x5A, 0x8C, n}));
    }
    EXPECT_EQ(head(read[17]), (Bytes{0x05, 0xA5, 0x74, 0x5A, 0x8B, 0x00}));
    for (auto it = read + 18; it != writes.end(); ++it) {
        EXPECT_EQ(*it, kStatusFrame);
    }
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

TEST_F(MainWindowHotplug, plugging_a_fern_after_an_empty_start_brings_its_page_forward_and_reads_it) {
    EXPECT_FALSE(dlg->connected());
    expectShown(1);
    expectPolling(0);

    HidrawNode& fern = bed.plugModel(3);
    fern.adapter().setBanks(freshAdapterBanks());
    ProfileImage bank = fern.adapter().bank(3, 0);
    bank[200] = 0x2A;
    bank[511] = 0x5C;
    fern.adapter().setBank(3, 0, bank);
    QSignalSpy reads(dlg->page(3), &AssignmentPage::firstReadDone);
    ASSERT_NO_FATAL_FAILURE(settle());

    EXPECT_TRUE(dlg->connected());
    EXPECT_TRUE(dlg->knownConnected());
    expectShown(3);
    expectPolling(3);
    EXPECT_EQ(reads.count(), 1);
    EXPECT_TRUE(dlg->readDone());
    EXPECT_TRUE(dlg->page(3)->readFromDevice(0));
    EXPECT_EQ(dlg->link().workImage(3), bank);
    expectIdentifiedThenReadOnce(fern);
}

TEST_F(MainWindowHotplug, unplugged_fern_stays_in_front_until_a_moss_is_plugged) {
    HidrawNode& fern = bed.plugModel(3);
    ASSERT_NO_FATAL_FAILURE(settle());
    ASSERT_TRUE(dlg->connected());
    dlg->page(3)->profileList()->setEditText(QStringLiteral("Mine"));

    bed.unplug(fern);
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_FALSE(dlg->connected());
    EXPECT_FALSE(dlg->knownConnected());
    expectShown(3);
    EXPECT_TRUE(dlg->page(3)->profileList()->currentText().isEmpty());
    // The poll finds the adapter gone at its next tick and stops.
    QSignalSpy ticks(dlg->page(3), &AssignmentPage::pollDone);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg->page(3)->polling(); }, kWaitMs));
    EXPECT_GE(ticks.count(), 1);

    HidrawNode& moss = bed.plugModel(2);
    QSignalSpy reads(dlg->page(2), &AssignmentPage::firstReadDone);
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_TRUE(dlg->connected());
    EXPECT_EQ(dlg->link().model(), 2);
    expectShown(2);
    expectPolling(2);
    EXPECT_EQ(reads.count(), 1);
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
    expectShown(1);
    EXPECT_EQ(reads.count(), 1);
    EXPECT_TRUE(dlg->readDone());

    // Another model in its place within one burst: its page comes forward.
    bed.unplug(again);
    bed.plugModel(3);
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(dlg->link().model(), 3);
    expectShown(3);
    expectPolling(3);
}

// Six refused opens. umockdev's preload keeps a slot of its 50-entry descriptor table for each refused
// open, so one process aborts after about eight rounds of this test (--gtest_repeat).
TEST_F(MainWindowHotplug, adapter_that_cannot_be_opened_is_told_once_and_connects_once_access_is_granted) {
    BoxWatcher boxes;
    QSignalSpy told(dlg.get(), &MainWindow::accessDeniedShown);
    const std::string denied(textLines(TextId::AccessDenied, 0).front());

    HidrawNode& kite = bed.plugModel(1);
    bed.blockOpen(kite, true); // listed, but udev has not granted this user the node
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(told.count(), 1);
    ASSERT_EQ(boxes.lines.size(), 1);
    EXPECT_EQ(boxes.lines[0].toStdString(), denied);
    EXPECT_FALSE(dlg->connected());
    EXPECT_FALSE(dlg->knownConnected());
    expectShown(1);
    expectPolling(0);
    EXPECT_TRUE(kite.writes().empty());

    // Further events while access is still refused say nothing more.
    bed.hidrawEvent(kite, "change");
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(told.count(), 1);
    EXPECT_EQ(boxes.lines.size(), 1);
    EXPECT_FALSE(dlg->connected());

    // Access granted; udev announces the node again with a change event.
    bed.blockOpen(kite, false);
    QSignalSpy reads(dlg->page(1), &AssignmentPage::firstReadDone);
    bed.hidrawEvent(kite, "change");
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_TRUE(dlg->connected());
    EXPECT_TRUE(dlg->knownConnected());
    expectShown(1);
    expectPolling(1);
    EXPECT_EQ(reads.count(), 1);
    EXPECT_EQ(told.count(), 1);
    EXPECT_EQ(boxes.lines.size(), 1);
    expectIdentifiedThenReadOnce(kite);
}

} // namespace
} // namespace zav
