#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
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

// The device thread of the window: jobs run one after another in the order they were handed over.
class JobThread {
public:
    JobThread() : thread_([this] { loop(); }) {}
    ~JobThread() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void post(std::function<void()> job) {
        {
            std::lock_guard lock(mutex_);
            jobs_.push_back(std::move(job));
        }
        wake_.notify_all();
    }

private:
    void loop() {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
                if (jobs_.empty()) {
                    return;
                }
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            job();
        }
    }
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool stop_ = false;
    std::thread thread_;
};

// A connect read, a mode change and a write queued in that order, as a connect pass and a quick
// user can queue them. Each job works on what it was given when it was gathered, while the window
// thread takes each result over into the link's pages and keeps changing them, as a page does.
TEST(Concurrency, queued_connect_read_mode_change_and_write_work_on_what_they_were_given) {
    SimulatedAdapter adapter;
    adapter.plug(1);
    ProfileImage ps4{};
    ProfileImage ps3{};
    ps4.fill(0x44);
    ps3.fill(0x33);
    adapter.setBank(1, 0, ps4);
    adapter.setBank(1, 1, ps3);
    DeviceLink link(adapter);
    ASSERT_TRUE(link.OpenAndIdentify());
    adapter.clearLog();
    adapter.setReportLatency(std::chrono::microseconds(100));

    std::mutex resultMutex;
    std::condition_variable resultReady;
    std::optional<std::optional<ProfileImage>> connectRead;
    std::optional<std::optional<ProfileImage>> modeRead;
    std::optional<WriteOutcome> written;

    ProfileImage edit{};
    edit.fill(0x77);
    {
        JobThread device;
        device.post([&, model = link.model()] {
            auto image = link.ReadBankImage(model, 0);
            std::lock_guard lock(resultMutex);
            connectRead = image;
            resultReady.notify_all();
        });
        device.post([&, model = link.model()] {
            auto image = link.ReadBankImage(model, 1);
            std::lock_guard lock(resultMutex);
            modeRead = image;
            resultReady.notify_all();
        });
        device.post([&, model = link.model(), image = edit] {
            const WriteOutcome outcome = link.WriteImage(model, 1, image, 180);
            std::lock_guard lock(resultMutex);
            written = outcome;
            resultReady.notify_all();
        });

        // The window: each result rewrites both pages of the model while later jobs still run.
        auto takeOver = [&](const std::optional<std::optional<ProfileImage>>& result) {
            std::unique_lock lock(resultMutex);
            resultReady.wait(lock, [&] { return result.has_value(); });
            const ProfileImage image = result->value_or(ProfileImage{});
            lock.unlock();
            link.workImage(1) = image;
            link.sendImage(1) = image;
        };
        takeOver(connectRead);
        takeOver(modeRead);
        for (int i = 0; i < 200; ++i) {
            link.sendImage(1).fill(static_cast<std::uint8_t>(i));
            link.workImage(1).fill(static_cast<std::uint8_t>(i));
        }
        std::unique_lock lock(resultMutex);
        resultReady.wait(lock, [&] { return written.has_value(); });
    }

    ASSERT_TRUE(connectRead->has_value());
    ASSERT_TRUE(modeRead->has_value());
    EXPECT_EQ(**connectRead, ps4);
    EXPECT_EQ(**modeRead, ps3);
    EXPECT_EQ(*written, WriteOutcome::Complete);
    EXPECT_EQ(adapter.bank(1, 1), edit);
    // One unbroken exchange after another: read, read, write, check read.
    const auto codes = adapter.frameCodes();
    ASSERT_EQ(codes.size(), 18u + 18u + 35u + 18u);
    EXPECT_EQ(codes[0], 0x72);
    EXPECT_EQ(codes[18], 0x72);
    EXPECT_EQ(codes[36], 0x75);
    EXPECT_EQ(codes[70], 0x77);
    EXPECT_EQ(codes[71], 0x72);
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
