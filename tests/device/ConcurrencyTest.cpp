#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace zav {
namespace {

// The window polls the adapter every 500 ms while the connect worker or a page moves whole banks:
// no exchange may ever interleave with another.
TEST(Concurrency, status_polls_racing_bank_transfers_never_interleave) {
    SimulatedAdapter adapter;
    adapter.setMouse(0x2B7C, 0x0061);
    adapter.plug(3);
    DeviceLink link(adapter);
    ASSERT_TRUE(link.OpenAndIdentify());
    adapter.clearLog();

    constexpr int kTransfers = 40;
    constexpr int kPolls = 400;
    std::atomic<int> failedPolls{0};
    std::atomic<int> failedTransfers{0};
    std::atomic<bool> done{false};

    std::thread poller([&] {
        for (int i = 0; i < kPolls || !done; ++i) {
            const StatusPoll poll = link.PollStatus();
            if (!poll.ok || poll.after != MouseKind::Own) {
                ++failedPolls;
            }
            (void)link.mouseKind();
            (void)link.inputReport();
        }
    });
    std::thread worker([&] {
        for (int i = 0; i < kTransfers; ++i) {
            ProfileImage image{};
            image.fill(static_cast<std::uint8_t>(i));
            link.sendImage(3) = image;
            if (!link.WriteBank(i % 4) || !link.ReadBank(i % 4) || link.workImage(3) != image) {
                ++failedTransfers;
            }
        }
        done = true;
    });
    worker.join();
    poller.join();

    EXPECT_EQ(failedPolls, 0);
    EXPECT_EQ(failedTransfers, 0);

    // Every write is one unbroken run of "u", 32 data frames, "v", "w"; every read of "r", 16 "s", "t".
    const auto codes = adapter.frameCodes();
    int writes = 0;
    int reads = 0;
    for (std::size_t i = 0; i < codes.size();) {
        if (codes[i] == 0x71) {
            ++i;
        } else if (codes[i] == 0x75) {
            ASSERT_LE(i + 35, codes.size());
            for (std::size_t k = 1; k <= 32; ++k) {
                ASSERT_EQ(codes[i + k], 0x75) << i + k;
            }
            ASSERT_EQ(codes[i + 33], 0x76);
            ASSERT_EQ(codes[i + 34], 0x77);
            ++writes;
            i += 35;
        } else if (codes[i] == 0x72) {
            ASSERT_LE(i + 18, codes.size());
            for (std::size_t k = 1; k <= 16; ++k) {
                ASSERT_EQ(codes[i + k], 0x73) << i + k;
            }
            ASSERT_EQ(codes[i + 17], 0x74);
            ++reads;
            i += 18;
        } else {
            FAIL() << "unexpected frame " << int(codes[i]) << " at " << i;
        }
    }
    EXPECT_EQ(writes, kTransfers);
    EXPECT_EQ(reads, kTransfers);
}

TEST(Concurrency, identification_and_polls_from_two_threads) {
    SimulatedAdapter adapter;
    adapter.plug(1);
    DeviceLink link(adapter);
    std::thread a([&] {
        for (int i = 0; i < 200; ++i) {
            EXPECT_TRUE(link.OpenAndIdentify());
        }
    });
    std::thread b([&] {
        for (int i = 0; i < 200; ++i) {
            link.PollStatus();
            (void)link.model();
            (void)link.isOpen();
        }
    });
    a.join();
    b.join();
    EXPECT_EQ(link.model(), 1);
    EXPECT_TRUE(link.PollStatus().ok);
}

} // namespace
} // namespace zav
