#include "device/DeviceLink.h"
#include "device/MouseClassifier.h"
#include "device/SimulatedAdapter.h"
#include "tests/device/GoldenFrames.h"

#include <gtest/gtest.h>

#include <functional>

namespace zav {
namespace {

struct CountingBackend : HidBackend {
    std::vector<HidDeviceInfo> enumerate() override {
        ++enumerations;
        if (duringEnumeration) {
            duringEnumeration();
        }
        return adapter.enumerate();
    }
    std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) override {
        opened.push_back(info.path);
        return adapter.open(info);
    }
    SimulatedAdapter adapter;
    int enumerations = 0;
    std::vector<std::string> opened;
    std::function<void()> duringEnumeration;
};

struct Identify : ::testing::Test {
    CountingBackend backend;
    SimulatedAdapter& adapter = backend.adapter;
    DeviceLink link{backend};
};

TEST_F(Identify, each_model_is_matched_by_one_status_frame_whose_reply_sets_mouse_and_capability) {
    EXPECT_FALSE(link.OpenAndIdentify());
    EXPECT_EQ(link.model(), 0);
    const std::uint16_t products[] = {0x00C4, 0x00C8, 0x00DB};
    for (int model = 1; model <= 3; ++model) {
        adapter.plug(model);
        adapter.clearLog();
        ASSERT_TRUE(link.OpenAndIdentify()) << model;
        EXPECT_EQ(link.model(), model);
        EXPECT_EQ(link.productId(), products[model - 1]);
        const auto frames = adapter.frames();
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(std::vector<std::uint8_t>(frames[0].bytes.begin(), frames[0].bytes.end()),
                  test::kStatusFrame);
    }
    adapter.unplug();
    EXPECT_FALSE(link.OpenAndIdentify());
    EXPECT_EQ(link.model(), 3);
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(link.openRefused());

    adapter.setMouse(0x2B7C, 0x00AF);
    adapter.setCapability(5);
    adapter.plug(1);
    ASSERT_TRUE(link.OpenAndIdentify());
    EXPECT_EQ(link.mouseKind(), MouseKind::Ordinary); // the KITE knows only the first own mouse here
    EXPECT_EQ(link.capability(), std::optional<std::uint8_t>(5));
    StatusPoll poll = link.PollStatus(3);
    EXPECT_TRUE(poll.ok);
    EXPECT_EQ(poll.before, MouseKind::Ordinary);
    EXPECT_EQ(poll.after, MouseKind::Own); // the poll knows them all
    EXPECT_EQ(adapter.frames().back().param(), 3);

    adapter.setMouse(0, 0);
    adapter.setCapability(1);
    adapter.refuseCommand(cmd::kStatus);
    EXPECT_TRUE(link.OpenAndIdentify());
    poll = link.PollStatus();
    EXPECT_FALSE(poll.ok);
    EXPECT_FALSE(poll.changed());
    EXPECT_EQ(link.mouseKind(), MouseKind::Own);
    EXPECT_EQ(link.capability(), std::optional<std::uint8_t>(5));

    // A short reply: what did not come reads as zero, not as the last reply's bytes.
    adapter.clearFaults();
    adapter.setMouse(0x046D, 0xC077);
    adapter.setCapability(7);
    adapter.setShortReplies(10);
    ASSERT_TRUE(link.PollStatus().ok);
    EXPECT_EQ(link.capability(), std::optional<std::uint8_t>(7));
    EXPECT_EQ(link.mouseKind(), MouseKind::None);
    EXPECT_EQ(link.inputReport()[14], 0);

    // Identity, set in use, kind, whether an ordinary mouse counts as seen after (it was before).
    const std::tuple<std::array<std::uint8_t, 4>, OwnMouseSet, MouseKind, bool> rows[] = {
        {{0, 0, 0, 0}, OwnMouseSet::Full, MouseKind::None, true},
        {{0x2B, 0x7C, 0, 0x61}, OwnMouseSet::FirstOnly, MouseKind::Own, false},
        {{0x2B, 0x7C, 0, 0xAF}, OwnMouseSet::FirstOnly, MouseKind::Ordinary, true},
        {{0x2B, 0x7C, 0, 0xAF}, OwnMouseSet::Full, MouseKind::Own, false},
        {{0x2B, 0x7C, 0, 0xC8}, OwnMouseSet::Full, MouseKind::None, true}, // an adapter is no mouse
        {{0x2B, 0x7C, 1, 0x61}, OwnMouseSet::Full, MouseKind::Ordinary, true},
    };
    for (const auto& [id, set, kind, seen] : rows) {
        SCOPED_TRACE(testing::PrintToString(id));
        const MouseState state = classifyMouse(id, set, {MouseKind::Own, true});
        EXPECT_EQ(state.kind, kind);
        EXPECT_EQ(state.ordinarySeen, seen);
    }
    EXPECT_FALSE(classifyMouse(std::get<0>(rows[0]), OwnMouseSet::Full, {}).ordinarySeen);
    EXPECT_EQ(identificationMouseSet(2), OwnMouseSet::Full);
}

TEST_F(Identify, only_adapters_are_opened_the_first_that_opens_wins_and_closing_stops_every_search) {
    adapter.plugForeign(0x046D, 0xC077);
    adapter.addDevice(0x2B7C, 0x00C5); // the adapters' vendor, another product
    adapter.addDevice(0x2B7C, 0x00DB);
    adapter.addDevice(0x2B7C, 0x00C4);
    adapter.refuseOpen(true);
    EXPECT_FALSE(link.OpenAndIdentify());
    EXPECT_TRUE(link.openRefused());
    EXPECT_EQ(backend.opened.size(), 2u);
    adapter.refuseOpen(false);
    backend.opened.clear();
    ASSERT_TRUE(link.OpenAndIdentify());
    EXPECT_FALSE(link.openRefused());
    EXPECT_EQ(link.model(), 3);
    ASSERT_EQ(backend.opened.size(), 1u);
    EXPECT_EQ(adapter.frames().at(0).path, backend.opened[0]);

    // Closing while the list is being made: nothing is opened, and the pass ends as done.
    backend.opened.clear();
    adapter.clearLog();
    backend.duringEnumeration = [this] { link.setClosing(); };
    EXPECT_TRUE(link.OpenAndIdentify());
    EXPECT_TRUE(link.OpenAndIdentify());
    EXPECT_EQ(backend.enumerations, 3); // the second pass did not even look
    EXPECT_TRUE(backend.opened.empty());
    EXPECT_TRUE(adapter.frames().empty());
}

} // namespace
} // namespace zav
