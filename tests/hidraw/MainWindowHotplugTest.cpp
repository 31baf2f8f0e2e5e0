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

#include <regex>

namespace zav {
namespace {

constexpr int kWaitMs = 5000;

// What the window sends on connecting: identification, one whole read, else only status frames.
void expectIdentifiedThenReadOnce(const HidrawNode& node) {
    std::string codes;
    for (const HidrawNode::Output& output : node.outputs()) {
        EXPECT_TRUE(output.bytes[2] != cmd::kStatus || output.bytes == test::kStatusFrame);
        codes += char(output.bytes[2]);
    }
    EXPECT_TRUE(std::regex_match(codes, std::regex("q+rs{16}tq*"))) << codes;
}

struct MainWindowHotplug : ::testing::Test {
    void SetUp() override {
        qputenv("ZAVORA_DOCUMENTS_DIR", documents.path().toLocal8Bit());
        QObject::connect(&watcher, &DeviceWatcher::deviceChanged, &window, &MainWindow::onDeviceChange);
        ASSERT_TRUE(watcher.usingUdev());
        QSignalSpy passes(&window, &MainWindow::connectPassFinished);
        window.start(1033);
        window.show();
        ASSERT_TRUE(passes.count() > 0 || passes.wait(kWaitMs));
    }

    void settle() {
        QSignalSpy changed(&watcher, &DeviceWatcher::deviceChanged);
        QSignalSpy handled(&window, &MainWindow::deviceChangeHandled);
        QSignalSpy passes(&window, &MainWindow::connectPassFinished);
        ASSERT_TRUE(changed.wait(kWaitMs));
        ASSERT_TRUE(handled.count() > 0 || handled.wait(kWaitMs));
        ASSERT_TRUE(passes.count() > 0 || passes.wait(kWaitMs));
    }

    void expectShown(int model, int polling) {
        EXPECT_EQ(window.currentTab(), model);
        for (int m = 1; m <= 3; ++m) {
            EXPECT_EQ(window.page(m)->isVisible(), m == model) << m;
            EXPECT_EQ(window.tab(m)->on(), m == model) << m;
            EXPECT_EQ(window.page(m)->polling(), m == polling) << m;
        }
    }

    HidrawTestbed bed; // first: the watcher must find the testbed's udev when it starts
    QTemporaryDir documents;
    HidApiBackend backend;
    MainWindow window{backend};
    DeviceWatcher watcher{[this] { return backend.enumerate(); }};
};

TEST_F(MainWindowHotplug, a_plugged_adapter_comes_forward_and_is_read_once_and_its_page_stays_when_it_goes) {
    expectShown(1, 0);
    HidrawNode& fern = bed.plugModel(3);
    fern.adapter.setBanks(freshAdapterBanks());
    ProfileImage bank = fern.adapter.bank(3, 0);
    bank[511] = 0x5C;
    fern.adapter.setBank(3, 0, bank);
    QSignalSpy reads(window.page(3), &AssignmentPage::firstReadDone);
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_TRUE(window.connected());
    expectShown(3, 3);
    EXPECT_EQ(reads.count(), 1);
    EXPECT_EQ(window.link().workImage(3), bank);
    expectIdentifiedThenReadOnce(fern);

    // Gone, and another model in its place within one burst: its page comes forward and reads once.
    bed.unplug(fern);
    HidrawNode& kite = bed.plugModel(1);
    QSignalSpy kiteReads(window.page(1), &AssignmentPage::firstReadDone);
    ASSERT_NO_FATAL_FAILURE(settle());
    expectShown(1, 1);
    EXPECT_EQ(kiteReads.count(), 1);
    expectIdentifiedThenReadOnce(kite);

    // Gone for good: the page stays, its profile name is cleared and the poll stops at its next tick.
    window.page(1)->profileList()->setEditText(QStringLiteral("Mine"));
    bed.unplug(kite);
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_FALSE(window.connected());
    EXPECT_TRUE(window.page(1)->profileList()->currentText().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.page(1)->polling(); }, kWaitMs));
    expectShown(1, 0);
}

// Refused opens: umockdev's preload keeps a descriptor slot for each, so few --gtest_repeat rounds pass.
TEST_F(MainWindowHotplug, adapter_that_cannot_be_opened_is_told_once_and_connects_once_access_is_granted) {
    test::BoxWatcher boxes;
    HidrawNode& again = bed.plugModel(1);
    bed.blockOpen(again, true);
    ASSERT_NO_FATAL_FAILURE(settle());
    bed.hidrawEvent(again, "change");
    ASSERT_NO_FATAL_FAILURE(settle());
    ASSERT_EQ(boxes.lines.size(), 1);
    EXPECT_EQ(boxes.lines[0].toStdString(), textLines(TextId::AccessDenied, 0).front());
    EXPECT_FALSE(window.connected());
    expectShown(1, 0);
    EXPECT_TRUE(again.outputs().empty());

    bed.blockOpen(again, false);
    bed.hidrawEvent(again, "change");
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_TRUE(window.connected());
    expectShown(1, 1);
    EXPECT_EQ(boxes.lines.size(), 1);
    expectIdentifiedThenReadOnce(again);
}

} // namespace
} // namespace zav
