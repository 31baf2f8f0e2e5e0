#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"
#include "tests/device/GoldenFrames.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <set>
#include <thread>

namespace zav {
namespace {

using test::pattern;
using Codes = std::vector<std::uint8_t>;
using Fault = std::function<void(SimulatedAdapter&)>;

// The frames of one read ("r", sixteen "s", "t") and of one write ("u", 32 data frames, "v", "w").
Codes sequence(std::uint8_t first, std::uint8_t middle, int count, Codes last) {
    Codes codes(static_cast<std::size_t>(count), middle);
    codes.insert(codes.begin(), first);
    codes.insert(codes.end(), last.begin(), last.end());
    return codes;
}
const Codes kRead = sequence(cmd::kReadStart, cmd::kReadChunk, 16, {cmd::kReadSum});
const Codes kWrite = sequence(cmd::kWrite, cmd::kWrite, 32, {cmd::kWriteSum, cmd::kCommit});

struct BankTransfer : ::testing::Test {
    void connect(int model) {
        adapter.plug(model);
        ASSERT_TRUE(link.OpenAndIdentify());
        adapter.clearLog();
    }
    SimulatedAdapter adapter;
    DeviceLink link{adapter};
};

TEST_F(BankTransfer, a_failed_read_leaves_the_work_page_exactly_as_it_was) {
    std::vector<Fault> faults = {
        [](auto& a) { a.dropReadChunkReply(5); },
        [](auto& a) { a.reportWrongSum(true); },
        [](auto& a) { a.refuseCommand(cmd::kReadStart); },
        [](auto& a) { a.refuseCommand(cmd::kReadSum); },
    };
    for (int k = 0; k < 18; ++k) {
        faults.push_back([k](auto& a) { a.vanishAfterFrames(k); }); // gone after k frames
    }
    adapter.setBank(3, 0, pattern(1));
    for (std::size_t i = 0; i < faults.size(); ++i) {
        SCOPED_TRACE(i);
        connect(3);
        link.workImage(3) = pattern(200);
        faults[i](adapter);
        EXPECT_FALSE(link.ReadBank(0));
        EXPECT_EQ(link.workImage(3), pattern(200));
        adapter.clearFaults();
    }
    connect(3);
    EXPECT_TRUE(link.ReadBank(0));
    EXPECT_EQ(link.workImage(3), pattern(1));
}

TEST_F(BankTransfer, a_write_and_a_read_send_each_frame_once_and_touch_only_their_page) {
    connect(1);
    link.sendImage(1) = test::countingBank();
    ASSERT_TRUE(link.WriteBank(2));
    ASSERT_TRUE(link.ReadBank(2));
    EXPECT_EQ(link.workImage(1), test::countingBank());
    EXPECT_EQ(adapter.bank(1, 1), ProfileImage{});
    EXPECT_EQ(adapter.repliesFetched(), 3 + 18); // data frames are not answered
    Codes codes = kWrite;
    codes.insert(codes.end(), kRead.begin(), kRead.end());
    EXPECT_EQ(adapter.frameCodes(), codes);
    const auto frames = adapter.frames();
    for (std::size_t n = 0; n < frames.size(); ++n) { // the bank, or the number of the data frame or chunk
        const std::size_t number = n >= 1 && n <= 32 ? n - 1 : n >= 36 && n <= 51 ? n - 36 : 2;
        EXPECT_EQ(frames[n].param(), number) << n;
    }
    EXPECT_EQ(std::vector<std::uint8_t>(frames[6].bytes.begin(), frames[6].bytes.end()), test::kDataFrame5);
    EXPECT_EQ(frames[33].bytes[21], 511 % 256); // the sum request still carries the last chunk
}

// Each way a write can fail: never reported complete, the bank as it was unless "w" went out, and
// nothing sent after the failure but the abort that follows a refused commit.
TEST_F(BankTransfer, a_write_that_fails_anywhere_is_never_complete_and_stops_there) {
    struct Case {
        std::string name;
        Fault fault;
        std::size_t frames; // of the write the adapter saw, and then "x" when "w" was refused
        bool aborted = false;
    };
    std::vector<Case> cases = {
        {"start refused", [](auto& a) { a.refuseCommand(cmd::kWrite); }, 1},
        {"data frame lost", [](auto& a) { a.refuseDataChunk(7); }, 8},
        {"wrong sum", [](auto& a) { a.reportWrongSum(true); }, 34},
        {"commit refused", [](auto& a) { a.refuseCommand(cmd::kCommit); }, 35, true},
        {"abort refused too", [](auto& a) { a.refuseCommand(cmd::kCommit), a.refuseCommand(cmd::kAbort); },
         35, true},
        // The demo keeps its banks in a file: a write it cannot keep is refused at "w".
        {"cannot be kept", [](auto& a) { a.setCommitListener([](const auto&) { return false; }); }, 35, true},
    };
    for (int k = 0; k <= 35; ++k) {
        cases.push_back(
            {"gone after " + std::to_string(k), [k](auto& a) { a.vanishAfterFrames(k); }, std::size_t(k)});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        adapter.setBank(2, 0, pattern(1));
        connect(2);
        link.sendImage(2) = pattern(2);
        c.fault(adapter);
        EXPECT_FALSE(link.WriteBank(0));
        Codes expected(kWrite.begin(), kWrite.begin() + std::ptrdiff_t(c.frames));
        if (c.aborted) {
            expected.push_back(cmd::kAbort);
        }
        EXPECT_EQ(adapter.frameCodes(), expected);
        if (c.frames < 35) { // only when "w" itself went out can the adapter have committed
            EXPECT_EQ(adapter.bank(2, 0), pattern(1));
        }
        adapter.clearFaults();
        adapter.setCommitListener({});
    }
    connect(2);
    EXPECT_TRUE(link.WriteBank(0));
    EXPECT_EQ(adapter.bank(2, 0), pattern(2));
}

TEST_F(BankTransfer, requests_outside_the_banks_are_refused) {
    EXPECT_FALSE(link.ReadBank(0)); // no adapter matched yet
    EXPECT_FALSE(link.WriteBank(0));
    EXPECT_FALSE(link.SendCommand(cmd::kRelease, 0));
    EXPECT_TRUE(adapter.frames().empty());

    connect(1);
    const SimulatedAdapter::Banks before = adapter.banks();
    EXPECT_FALSE(link.ReadBank(-1));
    EXPECT_FALSE(link.WriteBank(256));
    EXPECT_TRUE(adapter.frames().empty());
    link.sendImage(1) = pattern(4);
    EXPECT_FALSE(link.WriteBank(4)); // the adapter has four
    ASSERT_TRUE(link.SendCommand(cmd::kReadStart, 0));
    EXPECT_FALSE(link.SendCommand(cmd::kReadChunk, 16));
    EXPECT_FALSE(link.SendCommand(cmd::kCommit, 0)); // no write under way
    EXPECT_FALSE(link.SendCommand(0x10, 0));
    EXPECT_EQ(adapter.banks(), before);
}

// The one place the MOSS PlayStation 3 bank is told apart: a read gives its codes exchanged, a fetch
// gives the bank as stored, and no other model or bank is touched.
TEST_F(BankTransfer, write_then_read_round_trips_every_model_and_bank) {
    for (int model = 1; model <= 3; ++model) {
        connect(model);
        for (int bank = 0; bank < 4; ++bank) {
            SCOPED_TRACE(std::to_string(model) + " " + std::to_string(bank));
            const ProfileImage image = pattern(model * 16 + bank);
            link.sendImage(model) = image;
            ASSERT_TRUE(link.WriteBank(bank));
            ASSERT_TRUE(link.ReadBank(bank));
            ProfileImage expected = image;
            if (model == 2 && bank == 1) {
                std::swap(expected[14], expected[18]);
                std::swap(expected[15], expected[17]);
            }
            EXPECT_EQ(link.workImage(model), expected);
            EXPECT_EQ(link.FetchBank(bank), image);
            EXPECT_EQ(adapter.bank(model, bank), image);
        }
    }
}

TEST_F(BankTransfer, a_checked_write_compares_only_the_record_bytes_and_tells_each_failure_apart) {
    struct Case {
        int model;
        std::size_t records;     // record bytes of the model's bank
        std::size_t adapterFrom; // where the adapter starts writing bytes of its own
        WriteOutcome expected;
    };
    const Case cases[] = {
        {1, 180, 180, WriteOutcome::Complete}, {1, 180, 179, WriteOutcome::Differs},
        {2, 55, 55, WriteOutcome::Complete},   {2, 55, 54, WriteOutcome::Differs},
        {3, 165, 165, WriteOutcome::Complete}, {3, 165, 100, WriteOutcome::Differs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.adapterFrom);
        connect(c.model);
        adapter.changeBankFromOnCommit(c.adapterFrom);
        EXPECT_EQ(link.WriteImage(c.model, 2, pattern(9), c.records), c.expected);
        adapter.clearFaults();
    }
    connect(1);
    adapter.dropReadChunkReply(4);
    EXPECT_EQ(link.WriteImage(1, 0, pattern(5), 180), WriteOutcome::ReadBackFailed);
    EXPECT_EQ(adapter.bank(1, 0), pattern(5)); // committed all the same
    adapter.clearFaults();
    adapter.refuseCommand(cmd::kCommit);
    EXPECT_EQ(link.WriteImage(1, 0, pattern(6), 180), WriteOutcome::Failed);

    // A job gathered for another model moves nothing.
    adapter.clearFaults();
    connect(3);
    EXPECT_EQ(link.WriteImage(1, 0, pattern(1), 180), WriteOutcome::OtherModel);
    EXPECT_EQ(link.ReadBankImage(1, 0), std::nullopt);
    EXPECT_TRUE(adapter.frames().empty());
    EXPECT_TRUE(link.ReadBankImage(3, 0).has_value());
}

// The window polls every 500 ms and connects again on every plug while a page moves whole banks: no
// exchange may ever interleave with another.
TEST_F(BankTransfer, polls_and_identification_racing_transfers_never_interleave) {
    adapter.setMouse(0x2B7C, 0x0061);
    connect(3);
    constexpr int kTransfers = 40;
    std::atomic<int> failures{0};
    std::atomic<bool> done{false};
    std::thread poller([&] {
        for (int i = 0; !done; ++i) {
            const bool ok = i % 50 == 0 ? link.OpenAndIdentify() : link.PollStatus().after == MouseKind::Own;
            failures += ok ? 0 : 1;
        }
    });
    for (int i = 0; i < kTransfers; ++i) {
        link.sendImage(3) = pattern(i);
        if (!link.WriteBank(i % 4) || !link.ReadBank(i % 4) || link.workImage(3) != pattern(i)) {
            ++failures;
        }
    }
    done = true;
    poller.join();
    EXPECT_EQ(failures, 0);

    // Each write and each read is one unbroken run; status frames come only between them.
    Codes expected;
    std::set<std::size_t> between = {0};
    for (int i = 0; i < 2 * kTransfers; ++i) {
        const Codes& run = i % 2 == 0 ? kWrite : kRead;
        expected.insert(expected.end(), run.begin(), run.end());
        between.insert(expected.size());
    }
    std::size_t next = 0;
    for (const std::uint8_t code : adapter.frameCodes()) {
        if (code != cmd::kStatus || between.count(next) == 0) {
            ASSERT_LT(next, expected.size());
            ASSERT_EQ(code, expected[next++]) << next;
        }
    }
    EXPECT_EQ(next, expected.size());
}

} // namespace
} // namespace zav
