#include "device/DeviceWatcher.h"
#include "device/HidApiBackend.h"
#include "tests/hidraw/HidrawTestbed.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace zav {
namespace {

// Longer than the settle time with room to spare, so that a second signal would have come.
constexpr int kQuietMs = 3 * DeviceWatcher::kSettleMs;

struct WatcherHotplug : ::testing::Test {
    HidrawTestbed bed; // first: the watcher must find the testbed's udev when it starts
    DeviceWatcher watcher;
    QSignalSpy changed{&watcher, &DeviceWatcher::deviceChanged};
    HidApiBackend backend;
};

TEST_F(WatcherHotplug, plug_gives_one_signal_once_the_node_is_listed) {
    ASSERT_TRUE(watcher.usingUdev());
    HidrawNode& node = bed.plugModel(1); // add events for the USB device, interface, HID and hidraw
    ASSERT_TRUE(changed.wait(2000));
    EXPECT_FALSE(changed.wait(kQuietMs));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(changed[0][0].toBool()); // an adapter's node came
    const std::vector<HidDeviceInfo> found = backend.enumerate();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, node.devnode());
}

TEST_F(WatcherHotplug, unplug_gives_one_signal_once_the_node_is_gone) {
    HidrawNode& node = bed.plugModel(2);
    ASSERT_TRUE(changed.wait(2000));
    changed.clear();

    bed.unplug(node); // remove events from hidraw up to the USB device
    ASSERT_TRUE(changed.wait(2000));
    EXPECT_FALSE(changed.wait(kQuietMs));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(changed[0][0].toBool()); // an adapter's node went
    EXPECT_TRUE(backend.enumerate().empty());
}

TEST_F(WatcherHotplug, events_spread_over_a_burst_give_one_signal_after_the_last) {
    HidrawNode& node = bed.plugModel(3);
    ASSERT_TRUE(changed.wait(2000));
    changed.clear();

    // Four events 150 ms apart: each one restarts the settle time before the previous one ran out.
    QElapsedTimer sinceLast;
    for (const char* action : {"remove", "add", "change", "add"}) {
        bed.hidrawEvent(node, action);
        sinceLast.start();
        QTest::qWait(150);
    }
    EXPECT_EQ(changed.count(), 0);
    ASSERT_TRUE(changed.wait(2000));
    EXPECT_GE(sinceLast.elapsed(), DeviceWatcher::kSettleMs - 25);
    EXPECT_FALSE(changed.wait(kQuietMs));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(WatcherHotplug, events_of_other_subsystems_are_ignored) {
    HidrawNode& node = bed.plugModel(1);
    ASSERT_TRUE(changed.wait(2000));
    changed.clear();

    bed.usbEvent(node, "change");
    EXPECT_FALSE(changed.wait(kQuietMs));
    bed.hidrawEvent(node, "change");
    ASSERT_TRUE(changed.wait(2000));
    EXPECT_FALSE(changed[0][0].toBool()); // a change event adds or removes no node
}

TEST_F(WatcherHotplug, a_burst_tells_whether_an_adapter_node_came_or_went) {
    HidrawNode& kite = bed.plugModel(1);
    ASSERT_TRUE(changed.wait(2000));
    changed.clear();

    // Another vendor's device comes and goes: no adapter node.
    HidrawNode& mouse = bed.plug(0x046D, 0xC077);
    ASSERT_TRUE(changed.wait(2000));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_FALSE(changed[0][0].toBool());
    changed.clear();
    bed.unplug(mouse);
    ASSERT_TRUE(changed.wait(2000));
    EXPECT_FALSE(changed[0][0].toBool());
    changed.clear();

    // An adapter that resets itself: gone and back within one burst, one signal that says so.
    bed.unplug(kite);
    bed.plugModel(1);
    ASSERT_TRUE(changed.wait(2000));
    EXPECT_FALSE(changed.wait(kQuietMs));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_TRUE(changed[0][0].toBool());
}

} // namespace
} // namespace zav
