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
    // Exactly one signal for what came before (a second one would have come within three settle times),
    // and whether it said that an adapter's node came or went.
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

TEST_F(WatcherHotplug, a_plug_or_an_unplug_gives_one_signal_once_the_node_is_listed_or_gone) {
    ASSERT_TRUE(watcher.usingUdev());
    HidApiBackend backend;
    HidrawNode& node = bed.plugModel(1); // add events for the USB device, interface, HID and hidraw
    EXPECT_TRUE(oneSignal());
    EXPECT_EQ(backend.enumerate().size(), 1u);
    bed.unplug(node); // remove events from hidraw up to the USB device
    EXPECT_TRUE(oneSignal());
    EXPECT_TRUE(backend.enumerate().empty());

    // Another vendor's device comes and goes; a change adds or removes no adapter's node.
    HidrawNode& mouse = bed.plug(0x046D, 0xC077);
    EXPECT_FALSE(oneSignal());
    bed.hidrawEvent(mouse, "change");
    EXPECT_FALSE(oneSignal());
    bed.unplug(mouse);
    EXPECT_FALSE(oneSignal());
}

TEST_F(WatcherHotplug, a_burst_gives_one_signal_after_its_last_event) {
    HidrawNode& node = bed.plugModel(3);
    oneSignal();
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
    changed.clear();

    // An adapter that resets itself: gone and back within one burst, one signal that says so.
    bed.unplug(node);
    bed.plugModel(3);
    EXPECT_TRUE(oneSignal());
}

} // namespace
} // namespace zav
