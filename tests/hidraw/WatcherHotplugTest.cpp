#include "device/DeviceWatcher.h"
#include "device/HidApiBackend.h"
#include "tests/hidraw/HidrawTestbed.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace zav {
namespace {

struct WatcherHotplug : ::testing::Test {
    // Exactly one signal (a second would come within three settle times): did an adapter's node come or go?
    bool oneSignal() {
        EXPECT_TRUE(changed.wait(2000));
        EXPECT_FALSE(changed.wait(3 * DeviceWatcher::kSettleMs));
        EXPECT_EQ(changed.count(), 1);
        const bool adapter = !changed.isEmpty() && changed.takeFirst()[0].toBool();
        changed.clear();
        return adapter;
    }
    HidrawTestbed bed; // first: the watcher must find the testbed's udev when it starts
    DeviceWatcher watcher;
    QSignalSpy changed{&watcher, &DeviceWatcher::deviceChanged};
};

TEST_F(WatcherHotplug, a_plug_an_unplug_or_a_burst_gives_one_signal_once_the_node_is_listed_or_gone) {
    ASSERT_TRUE(watcher.usingUdev());
    HidApiBackend backend;
    HidrawNode& node = bed.plugModel(1);
    EXPECT_TRUE(oneSignal());
    EXPECT_EQ(backend.enumerate().size(), 1u);
    bed.unplug(node);
    EXPECT_TRUE(oneSignal());
    EXPECT_TRUE(backend.enumerate().empty());

    HidrawNode& mouse = bed.plug(0x046D, 0xC077);
    EXPECT_FALSE(oneSignal());
    bed.hidrawEvent(mouse, "change");
    EXPECT_FALSE(oneSignal());
    bed.unplug(mouse);
    EXPECT_FALSE(oneSignal());

    HidrawNode& fern = bed.plugModel(3);
    EXPECT_TRUE(oneSignal());
    QElapsedTimer sinceLast;
    for (const char* action : {"remove", "add", "change", "add"}) {
        bed.hidrawEvent(fern, action);
        sinceLast.start();
        QTest::qWait(150);
    }
    EXPECT_EQ(changed.count(), 0);
    ASSERT_TRUE(changed.wait(2000));
    EXPECT_GE(sinceLast.elapsed(), DeviceWatcher::kSettleMs - 25);
    changed.clear();

    // An adapter that resets itself: gone and back within one burst, one signal that says so.
    bed.unplug(fern);
    bed.plugModel(3);
    EXPECT_TRUE(oneSignal());
}

} // namespace
} // namespace zav
