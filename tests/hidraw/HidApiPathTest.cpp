#include "device/DeviceLink.h"
#include "device/DeviceLog.h"
#include "device/HidApiBackend.h"
#include "tests/hidraw/HidrawTestbed.h"

#include <gtest/gtest.h>

#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <future>
#include <iterator>
#include <mutex>

namespace zav {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// "q" with parameter 0, as the node receives it.
const Bytes kStatusFrame = {0x05, 0xA5, 0x71, 0x5A, 0x8E, 0x00, 0xAC, 0xAD, 0xA2, 0xA3, 0xA0,
                            0xA1, 0xA6, 0xA7, 0xA4, 0xA5, 0xBA, 0xBB, 0xB8, 0xB9, 0xBE, 0xBF,
                            0xBC, 0xBD, 0xB2, 0xB3, 0xB0, 0xB1, 0xB6, 0xB7, 0xB4, 0xB5, 0x8A};

ProfileImage pattern() {
    ProfileImage image{};
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return image;
}

bool everyFrameWentAsSetReport(const HidrawNode& node) {
    const auto paths = node.outputPaths();
    return !paths.empty() && std::all_of(paths.begin(), paths.end(), [](HidrawNode::OutputPath p) {
        return p == HidrawNode::OutputPath::Ioctl;
    });
}

// Collects what the device code says about failures while it lives.
struct LogLines {
    LogLines() {
        setDeviceLogSink([this](std::string_view line) {
            std::lock_guard lock(mutex);
            lines.emplace_back(line);
        });
    }
    ~LogLines() { setDeviceLogSink({}); }
    bool any(const std::string& part) {
        std::lock_guard lock(mutex);
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.find(part) != std::string::npos; });
    }
    std::mutex mutex;
    std::vector<std::string> lines;
};

bool allInputRequestsAskReportOneWith65Bytes(const std::vector<HidrawNode::InputRequest>& requests) {
    for (const HidrawNode::InputRequest& r : requests) {
        if (r.reportId != 0x01 || r.length != 65) {
            return false;
        }
    }
    return true;
}

struct HidApiPath : ::testing::Test {
    HidrawNode& connect(int model) {
        HidrawNode& node = bed.plugModel(model);
        EXPECT_TRUE(link.OpenAndIdentify());
        node.clearLog();
        return node;
    }

    HidrawTestbed bed;
    HidApiBackend backend;
    DeviceLink link{backend};
};

// --- discovery and identification ---

TEST_F(HidApiPath, each_model_is_enumerated_opened_and_identified) {
    const std::uint16_t products[] = {0x00C4, 0x00C8, 0x00DB};
    for (int model = 1; model <= 3; ++model) {
        HidrawNode& node = bed.plugModel(model);
        const std::vector<HidDeviceInfo> found = backend.enumerate();
        ASSERT_EQ(found.size(), 1u) << model;
        EXPECT_EQ(found[0].path, node.devnode());
        EXPECT_EQ(found[0].vendorId, 0x2B7C);
        EXPECT_EQ(found[0].productId, products[model - 1]);

        ASSERT_TRUE(link.OpenAndIdentify()) << model;
        EXPECT_EQ(link.model(), model);
        EXPECT_EQ(link.productId(), products[model - 1]);
        // hidapi's handle, and the node opened beside it for SET_REPORT.
        EXPECT_EQ(node.opens(), 2);
        // Identification is one status exchange: 33 bytes out, input report 1 asked with 65 bytes.
        ASSERT_EQ(node.writes().size(), 1u);
        EXPECT_EQ(node.writes()[0], kStatusFrame);
        ASSERT_EQ(node.inputRequests().size(), 1u);
        EXPECT_TRUE(allInputRequestsAskReportOneWith65Bytes(node.inputRequests()));

        bed.unplug(node);
        EXPECT_FALSE(link.OpenAndIdentify());
        EXPECT_EQ(link.model(), model);
    }
}

TEST_F(HidApiPath, devices_that_are_no_adapter_are_never_opened) {
    HidrawNode& mouse = bed.plug(0x046D, 0xC077);
    HidrawNode& sibling = bed.plug(0x2B7C, 0x00C5); // the adapters' vendor, another product
    EXPECT_FALSE(link.OpenAndIdentify());
    EXPECT_FALSE(link.openRefused());

    HidrawNode& fern = bed.plugModel(3);
    const std::vector<HidDeviceInfo> found = backend.enumerate();
    ASSERT_EQ(found.size(), 2u); // the other vendor's device is not even listed
    EXPECT_EQ(found[0].path, sibling.devnode());
    EXPECT_EQ(found[1].path, fern.devnode());

    ASSERT_TRUE(link.OpenAndIdentify());
    EXPECT_EQ(link.model(), 3);
    EXPECT_EQ(mouse.opens(), 0);
    EXPECT_EQ(sibling.opens(), 0);
    EXPECT_TRUE(sibling.writes().empty());
    EXPECT_EQ(fern.opens(), 2);
}

TEST_F(HidApiPath, node_that_cannot_be_opened_is_reported_as_refused) {
    HidrawNode& node = bed.plugModel(1);
    bed.blockOpen(node, true);
    EXPECT_FALSE(link.OpenAndIdentify());
    EXPECT_TRUE(link.openRefused());
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(node.writes().empty());

    bed.blockOpen(node, false);
    EXPECT_TRUE(link.OpenAndIdentify());
    EXPECT_FALSE(link.openRefused());
    EXPECT_EQ(link.model(), 1);
    EXPECT_EQ(node.writes().size(), 1u);
}

// --- status replies ---

TEST_F(HidApiPath, status_poll_follows_the_attached_mouse) {
    HidrawNode& node = bed.plugModel(2);
    node.adapter().setCapability(5);
    node.adapter().setMouse(0x2B7C, 0x00B7);
    ASSERT_TRUE(link.OpenAndIdentify());
    EXPECT_EQ(link.mouseKind(), MouseKind::Own);
    EXPECT_EQ(link.capability(), std::optional<std::uint8_t>(5));
    const auto reply = link.inputReport();
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 5), (Bytes{0x05, 0xA5, 0x71, 0x5A, 0x8E}));
    EXPECT_EQ(Bytes(reply.begin() + 14, reply.begin() + 18), (Bytes{0x2B, 0x7C, 0x00, 0xB7}));

    node.adapter().setMouse(0x046D, 0xC077);
    StatusPoll poll = link.PollStatus();
    EXPECT_TRUE(poll.ok);
    EXPECT_EQ(poll.after, MouseKind::Ordinary);
    EXPECT_TRUE(link.ordinaryMouseSeen());

    node.adapter().setMouse(0, 0);
    poll = link.PollStatus();
    EXPECT_EQ(poll.after, MouseKind::None);
    EXPECT_TRUE(link.ordinaryMouseSeen()); // no mouse leaves the flag as it was

    node.adapter().setMouse(0x2B7C, 0x00C8); // an adapter's own identity is no mouse
    poll = link.PollStatus();
    EXPECT_EQ(poll.after, MouseKind::None);
}

// --- bank transfer ---

TEST_F(HidApiPath, whole_bank_is_written_and_read_back_byte_for_byte) {
    HidrawNode& node = connect(1);
    link.sendImage(1) = pattern();
    ASSERT_TRUE(link.WriteBank(2));
    EXPECT_EQ(node.adapter().bank(1, 2), pattern());
    EXPECT_EQ(node.adapter().bank(1, 0), ProfileImage{});

    const auto writes = node.writes();
    ASSERT_EQ(writes.size(), 35u); // u, 32 data frames, v, w
    for (const Bytes& report : writes) {
        EXPECT_EQ(report.size(), 33u);
    }
    // Data frame 5 carries bytes 80 to 95; the rest of its payload is what the status frame left.
    const Bytes chunk5 = {0x05, 0xA5, 0x75, 0x5A, 0x8A, 0x05, 0x33, 0x3A, 0x41, 0x48, 0x4F,
                          0x56, 0x5D, 0x64, 0x6B, 0x72, 0x79, 0x80, 0x87, 0x8E, 0x95, 0x9C,
                          0xBC, 0xBD, 0xB2, 0xB3, 0xB0, 0xB1, 0xB6, 0xB7, 0xB4, 0xB5, 0x8A};
    EXPECT_EQ(writes[6], chunk5);
    EXPECT_EQ(node.inputRequests().size(), 3u);
    EXPECT_TRUE(allInputRequestsAskReportOneWith65Bytes(node.inputRequests()));

    node.clearLog();
    link.workImage(1).fill(0);
    ASSERT_TRUE(link.ReadBank(2));
    EXPECT_EQ(link.workImage(1), pattern());
    EXPECT_EQ(node.writes().size(), 18u); // r, 16 chunks, t
    EXPECT_EQ(node.inputRequests().size(), 18u);
    EXPECT_TRUE(everyFrameWentAsSetReport(node));
}

// --- which request carries an output report ---

TEST_F(HidApiPath, every_output_report_goes_as_set_report_where_the_kernel_has_the_ioctl) {
    HidrawNode& node = bed.plugModel(2);
    ASSERT_TRUE(link.OpenAndIdentify());
    link.sendImage(2) = pattern();
    ASSERT_TRUE(link.WriteBank(1));
    ASSERT_TRUE(link.ReadBank(1));
    ASSERT_TRUE(link.SendCommand(0x79, 0));
    EXPECT_EQ(node.writes().size(), 1u + 35u + 18u + 1u);
    EXPECT_EQ(node.outputPaths().size(), node.writes().size());
    EXPECT_TRUE(everyFrameWentAsSetReport(node));
    EXPECT_EQ(node.adapter().bank(2, 1), pattern());
}

TEST_F(HidApiPath, a_kernel_without_the_ioctl_gets_plain_writes_and_says_why) {
    LogLines log;
    HidrawNode& node = bed.plugModel(1);
    node.setOutputIoctlKnown(false);
    ASSERT_TRUE(link.OpenAndIdentify());
    link.sendImage(1) = pattern();
    ASSERT_TRUE(link.WriteBank(0));
    EXPECT_EQ(node.adapter().bank(1, 0), pattern());
    const auto paths = node.outputPaths();
    ASSERT_EQ(paths.size(), 36u);
    EXPECT_TRUE(std::all_of(paths.begin(), paths.end(),
                            [](HidrawNode::OutputPath p) { return p == HidrawNode::OutputPath::Write; }));
    EXPECT_TRUE(log.any("HIDIOCSOUTPUT"));
}

TEST_F(HidApiPath, failures_carry_their_reason_to_the_log) {
    LogLines log;
    HidrawNode& node = bed.plugModel(3);
    bed.blockOpen(node, true);
    EXPECT_FALSE(link.OpenAndIdentify());
    EXPECT_TRUE(log.any("hid_open_path " + node.devnode()));

    bed.blockOpen(node, false);
    ASSERT_TRUE(link.OpenAndIdentify());
    node.setGone();
    EXPECT_FALSE(link.SendCommand(0x71, 0));
    EXPECT_TRUE(log.any("HIDIOCSOUTPUT on " + node.devnode() + ": No such device"));
}

TEST_F(HidApiPath, refused_start_frame_fails_the_write_and_sends_nothing_more) {
    HidrawNode& node = connect(3);
    node.adapter().refuseCommand(0x75);
    link.sendImage(3) = pattern();
    EXPECT_FALSE(link.WriteBank(0));
    const auto writes = node.writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(Bytes(writes[0].begin(), writes[0].begin() + 6), (Bytes{0x05, 0xA5, 0x75, 0x5A, 0x8A, 0x00}));
    EXPECT_EQ(node.adapter().bank(3, 0), ProfileImage{});

    node.adapter().refuseCommand(0x79);
    EXPECT_FALSE(link.SendCommand(0x79, 0));
}

TEST_F(HidApiPath, data_report_the_device_rejects_fails_the_write_at_that_frame) {
    HidrawNode& node = connect(1);
    node.adapter().refuseDataChunk(3);
    link.sendImage(1) = pattern();
    EXPECT_FALSE(link.WriteBank(1));
    EXPECT_EQ(node.writes().size(), 5u); // u and data frames 0 to 3, the last one failing
    EXPECT_EQ(node.inputRequests().size(), 1u);
    EXPECT_EQ(node.adapter().bank(1, 1), ProfileImage{});
}

// --- removal ---

TEST_F(HidApiPath, node_that_disappears_mid_write_fails_the_write_cleanly) {
    HidrawNode& node = connect(3);
    link.sendImage(3) = pattern();
    node.holdReport(11); // the start frame and nine data frames get through

    auto write = std::async(std::launch::async, [this] { return link.WriteBank(1); });
    const bool held = node.waitHeld(5s);
    bed.unplug(node);
    node.release();
    ASSERT_TRUE(held);
    ASSERT_EQ(write.wait_for(5s), std::future_status::ready);
    EXPECT_FALSE(write.get());

    EXPECT_EQ(node.adapter().frames().size(), 10u);
    EXPECT_EQ(node.adapter().bank(3, 1), ProfileImage{});
    // The handle still open on the vanished node fails at once, and a new pass finds nothing.
    EXPECT_FALSE(link.SendCommand(0x71, 0));
    EXPECT_FALSE(link.OpenAndIdentify());
    EXPECT_FALSE(link.openRefused());
}

// --- the emulation itself ---

TEST_F(HidApiPath, node_answers_the_descriptor_that_sysfs_holds) {
    HidrawNode& node = bed.plugModel(1);
    const Bytes expected(kAdapterReportDescriptor.begin(), kAdapterReportDescriptor.end());

    std::ifstream sysfs("/sys/class/hidraw/hidraw0/device/report_descriptor", std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(sysfs), {}), expected);

    const int fd = ::open(node.devnode().c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    int size = 0;
    EXPECT_EQ(::ioctl(fd, HIDIOCGRDESCSIZE, &size), 0);
    EXPECT_EQ(size, 39);
    hidraw_report_descriptor descriptor{};
    descriptor.size = static_cast<std::uint32_t>(size);
    EXPECT_EQ(::ioctl(fd, HIDIOCGRDESC, &descriptor), 0);
    EXPECT_EQ(Bytes(descriptor.value, descriptor.value + size), expected);
    ::close(fd);
}

} // namespace
} // namespace zav
