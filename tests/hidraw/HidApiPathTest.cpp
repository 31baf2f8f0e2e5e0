#include "device/DeviceLink.h"
#include "device/DeviceLog.h"
#include "device/HidApiBackend.h"
#include "tests/device/GoldenFrames.h"
#include "tests/hidraw/HidrawTestbed.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zav {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Path = HidrawNode::OutputPath;

bool allWent(const HidrawNode& node, Path path) {
    const auto outputs = node.outputs();
    return !outputs.empty() && std::all_of(outputs.begin(), outputs.end(), [path](const auto& o) {
        return o.path == path && o.bytes.size() == 33;
    });
}

struct HidApiPath : ::testing::Test {
    HidApiPath() {
        setDeviceLogSink([this](std::string_view line) { log += std::string(line) + "\n"; });
    }
    ~HidApiPath() override { setDeviceLogSink({}); }
    bool logged(const std::string& part) const { return log.find(part) != std::string::npos; }
    std::string log;
    HidrawTestbed bed;
    HidApiBackend backend;
    DeviceLink link{backend};
};

TEST_F(HidApiPath,
       only_adapters_are_listed_and_identified_refusals_are_told_and_banks_round_trip_on_either_path) {
    for (int model = 1; model <= 3; ++model) {
        HidrawNode& node = bed.plugModel(model);
        node.adapter.setMouse(0x2B7C, 0x0061);
        node.adapter.setCapability(5);
        const std::vector<HidDeviceInfo> found = backend.enumerate();
        ASSERT_EQ(found.size(), 1u) << model;
        EXPECT_EQ(found[0].path, node.devnode);
        EXPECT_EQ(found[0].productId, productIdForModel(model));

        ASSERT_TRUE(link.OpenAndIdentify()) << model;
        EXPECT_EQ(link.model(), model);
        EXPECT_EQ(link.mouseKind(), MouseKind::Own); // the reply's bytes arrived where they belong
        EXPECT_EQ(link.capability(), std::optional<std::uint8_t>(5));
        EXPECT_EQ(node.opens, 2); // hidapi's handle, and the node opened beside it for SET_REPORT
        ASSERT_EQ(node.outputs().size(), 1u);
        EXPECT_EQ(node.outputs()[0].bytes, test::kStatusFrame);
        EXPECT_TRUE(allWent(node, Path::Ioctl));

        // Gone: what is still open fails at once and says why, and nothing opens.
        bed.unplug(node);
        EXPECT_FALSE(link.SendCommand(cmd::kStatus, 0));
        EXPECT_TRUE(logged("HIDIOCSOUTPUT on " + node.devnode + ": No such device"));
        EXPECT_FALSE(link.OpenAndIdentify());
        EXPECT_FALSE(link.openRefused());
    }

    HidrawNode& mouse = bed.plug(0x046D, 0xC077);
    HidrawNode& sibling = bed.plug(0x2B7C, 0x00C5); // the adapters' vendor, another product
    HidrawNode& fern = bed.plugModel(3);
    EXPECT_EQ(backend.enumerate().size(), 2u); // another vendor's device is not even listed
    bed.blockOpen(fern, true);
    EXPECT_FALSE(link.OpenAndIdentify());
    EXPECT_TRUE(link.openRefused());
    EXPECT_TRUE(logged("hid_open_path " + fern.devnode));

    bed.blockOpen(fern, false);
    ASSERT_TRUE(link.OpenAndIdentify());
    EXPECT_EQ(link.model(), 3);
    EXPECT_EQ(mouse.opens + sibling.opens, 0);
    bed.unplug(fern);

    // Without HIDIOCSOUTPUT plain writes carry the reports; either way a refused report stops the write.
    for (const Path path : {Path::Ioctl, Path::Write}) {
        HidrawNode& node = bed.plugModel(1);
        node.outputIoctlKnown = path == Path::Ioctl;
        ASSERT_TRUE(link.OpenAndIdentify());
        node.adapter.refuseDataChunk(3);
        link.sendImage(1) = test::countingBank();
        EXPECT_FALSE(link.WriteBank(1));
        EXPECT_EQ(node.outputs().size(), 1u + 5u); // "q", "u" and data frames 0 to 3
        EXPECT_EQ(node.adapter.bank(1, 1), ProfileImage{});

        node.adapter.clearFaults();
        ASSERT_TRUE(link.WriteBank(1));
        EXPECT_EQ(node.adapter.bank(1, 1), test::countingBank());
        link.workImage(1).fill(0);
        ASSERT_TRUE(link.ReadBank(1));
        EXPECT_EQ(link.workImage(1), test::countingBank());
        EXPECT_EQ(node.outputs().size(), 6u + 35u + 18u);
        EXPECT_TRUE(allWent(node, path));
        EXPECT_EQ(logged("refused as unknown, writing instead"), path == Path::Write);
        bed.unplug(node);
    }
}

} // namespace
} // namespace zav
