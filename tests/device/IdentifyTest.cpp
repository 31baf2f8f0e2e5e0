#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

// Counts what the link asks of the platform.
class CountingBackend : public HidBackend {
public:
    explicit CountingBackend(HidBackend& inner) : inner_(inner) {}
    std::vector<HidDeviceInfo> enumerate() override {
        ++enumerations;
        return inner_.enumerate();
    }
    std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) override {
        opened.push_back(info.path);
        return inner_.open(info);
    }
    int enumerations = 0;
    std::vector<std::string> opened;

private:
    HidBackend& inner_;
};

struct Identify : ::testing::Test {
    SimulatedAdapter adapter;
    CountingBackend backend{adapter};
    DeviceLink link{backend};
};

TEST_F(Identify, nothing_attached_fails_and_model_stays_zero) {
    EXPECT_FALSE(link.OpenAndIdentify());
    EXPECT_EQ(link.model(), 0);
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(link.openRefused());
}

TEST_F(Identify, each_product_sets_its_model_and_sends_status) {
    for (int model = 1; model <= 3; ++model) {
        adapter.plug(model);
        adapter.clearLog();
        ASSERT_TRUE(link.OpenAndIdentify()) << model;
        EXPECT_EQ(link.model(), model);
        EXPECT_EQ(link.vendorId(), 0x2B7C);
        EXPECT_EQ(link.productId(), productIdForModel(model));
        const auto frames = adapter.frames();
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0].code(), 0x71);
        EXPECT_EQ(frames[0].param(), 0);
    }
    EXPECT_EQ(productIdForModel(1), 0x00C4);
    EXPECT_EQ(productIdForModel(2), 0x00C8);
    EXPECT_EQ(productIdForModel(3), 0x00DB);
}

TEST_F(Identify, foreign_devices_are_skipped_and_first_adapter_wins) {
    adapter.plugForeign(0x046D, 0xC077);
    adapter.addDevice(0x2B7C, 0x00C5); // our vendor, another product
    adapter.addDevice(0x2B7C, 0x00DB);
    adapter.addDevice(0x2B7C, 0x00C4);
    ASSERT_TRUE(link.OpenAndIdentify());
    EXPECT_EQ(link.model(), 3);
    ASSERT_EQ(backend.opened.size(), 1u);
    const auto frames = adapter.frames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames[0].path, backend.opened[0]);
}

TEST_F(Identify, failed_identification_keeps_last_model) {
    adapter.plug(2);
    ASSERT_TRUE(link.OpenAndIdentify());
    adapter.unplug();
    EXPECT_FALSE(link.OpenAndIdentify());
    EXPECT_EQ(link.model(), 2);
    EXPECT_FALSE(link.isOpen());
}

TEST_F(Identify, closing_stops_all_enumeration) {
    adapter.plug(1);
    link.setClosing();
    EXPECT_TRUE(link.OpenAndIdentify());
    EXPECT_EQ(backend.enumerations, 0);
    EXPECT_EQ(link.model(), 0);
    EXPECT_TRUE(adapter.frames().empty());
}

TEST_F(Identify, adapter_that_cannot_be_opened_is_reported) {
    adapter.plug(1);
    adapter.refuseOpen(true);
    EXPECT_FALSE(link.OpenAndIdentify());
    EXPECT_TRUE(link.openRefused());
    adapter.refuseOpen(false);
    EXPECT_TRUE(link.OpenAndIdentify());
    EXPECT_FALSE(link.openRefused());
}

TEST_F(Identify, mouse_set_at_identification_depends_on_model) {
    adapter.setMouse(0x2B7C, 0x00AF);
    adapter.plug(1);
    ASSERT_TRUE(link.OpenAndIdentify());
    EXPECT_EQ(link.mouseKind(), MouseKind::Ordinary);
    EXPECT_TRUE(link.ordinaryMouseSeen());
    // The pages' poll knows every own mouse.
    const StatusPoll poll = link.PollStatus();
    EXPECT_TRUE(poll.ok);
    EXPECT_EQ(poll.before, MouseKind::Ordinary);
    EXPECT_EQ(poll.after, MouseKind::Own);
    EXPECT_FALSE(link.ordinaryMouseSeen());

    adapter.plug(2);
    adapter.setMouse(0x2B7C, 0x00BB);
    ASSERT_TRUE(link.OpenAndIdentify());
    EXPECT_EQ(link.mouseKind(), MouseKind::Own);
}

TEST_F(Identify, failed_status_after_match_keeps_previous_classification) {
    adapter.setMouse(0x046D, 0xC077);
    adapter.setCapability(5);
    adapter.plug(2);
    ASSERT_TRUE(link.OpenAndIdentify());
    EXPECT_EQ(link.mouseKind(), MouseKind::Ordinary);
    EXPECT_EQ(link.capability(), std::optional<std::uint8_t>(5));

    adapter.setMouse(0, 0);
    adapter.setCapability(1);
    adapter.refuseCommand(0x71);
    EXPECT_TRUE(link.OpenAndIdentify());
    EXPECT_EQ(link.mouseKind(), MouseKind::Ordinary);
    EXPECT_EQ(link.capability(), std::optional<std::uint8_t>(5));

    const StatusPoll poll = link.PollStatus();
    EXPECT_FALSE(poll.ok);
    EXPECT_FALSE(poll.changed());
    EXPECT_EQ(link.capability(), std::optional<std::uint8_t>(5));
}

TEST_F(Identify, short_reply_counts_missing_bytes_as_zero) {
    adapter.setMouse(0x046D, 0xC077);
    adapter.setCapability(7);
    adapter.plug(3);
    adapter.setShortReplies(10);
    ASSERT_TRUE(link.OpenAndIdentify());
    EXPECT_EQ(link.mouseKind(), MouseKind::None);
    EXPECT_EQ(link.capability(), std::optional<std::uint8_t>(7));
    const auto report = link.inputReport();
    EXPECT_EQ(report[8], 7);
    EXPECT_EQ(report[14], 0);
}

TEST_F(Identify, status_command_param_and_capability) {
    adapter.setCapability(4);
    adapter.plug(2);
    ASSERT_TRUE(link.OpenAndIdentify());
    adapter.clearLog();
    EXPECT_EQ(link.capability(), std::optional<std::uint8_t>(4));
    EXPECT_TRUE(link.PollStatus(3).ok);
    ASSERT_EQ(adapter.frames().size(), 1u);
    EXPECT_EQ(adapter.frames()[0].param(), 3);
    EXPECT_EQ(adapter.frames()[0].bytes[6], 0xAC);
}

} // namespace
} // namespace zav
