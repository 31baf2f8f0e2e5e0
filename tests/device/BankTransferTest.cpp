#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"
#include "tests/device/GoldenFrames.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace zav {
namespace {

using test::pattern;
using Fault = std::function<void(SimulatedAdapter&)>;

// Frame codes are letters: a read is "r", sixteen "s", "t"; a write "u", 32 data frames "u", "v", "w".
const std::string kRead = "r" + std::string(16, 's') + "t";
const std::string kWrite = std::string(33, 'u') + "vw";
std::string codesOf(const SimulatedAdapter& a) {
    const auto codes = a.frameCodes();
    return {codes.begin(), codes.end()};
}

struct BankTransfer : ::testing::Test {
    void connect(int model) {
        adapter.plug(model);
        ASSERT_TRUE(link.OpenAndIdentify());
        adapter.clearLog();
    }
    SimulatedAdapter adapter;
    DeviceLink link{adapter};
};

// The MOSS PlayStation 3 bank (2, 1) reads with its codes exchanged; a fetch gives it as stored.
TEST_F(BankTransfer, requests_outside_the_banks_are_refused_each_frame_goes_once_and_every_bank_round_trips) {
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

    connect(1);
    link.sendImage(1) = test::countingBank();
    ASSERT_TRUE(link.WriteBank(2));
    ASSERT_TRUE(link.ReadBank(2));
    EXPECT_EQ(link.workImage(1), test::countingBank());
    EXPECT_EQ(adapter.bank(1, 1), ProfileImage{});
    EXPECT_EQ(adapter.repliesFetched(), 3 + 18); // data frames are not answered
    EXPECT_EQ(codesOf(adapter), kWrite + kRead);
    const auto frames = adapter.frames();
    for (std::size_t n = 0; n < frames.size(); ++n) { // the bank, or the number of the data frame or chunk
        const std::size_t number = n >= 1 && n <= 32 ? n - 1 : n >= 36 && n <= 51 ? n - 36 : 2;
        EXPECT_EQ(frames[n].param(), number) << n;
    }
    EXPECT_EQ(std::vector<std::uint8_t>(frames[6].bytes.begin(), frames[6].bytes.end()), test::kDataFrame5);
    EXPECT_EQ(frames[33].bytes[21], 511 % 256); // the sum request still carries the last chunk

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

// A failed read leaves the work page as it was; a failed write sends nothing after the failure but "x".
TEST_F(BankTransfer, a_failed_transfer_is_never_complete_a_checked_one_tells_why_and_polls_never_interleave) {
    std::vector<Fault> faults = {
        [](auto& a) { a.dropReadChunkReply(5); }, [](auto& a) { a.reportWrongSum(true); },
        [](auto& a) { a.refuseCommand(cmd::kReadStart); }, [](auto& a) { a.refuseCommand(cmd::kReadSum); }};
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

    // Each fault and the frames the adapter then sees: the write up to there, "x" after a refused "w".
    std::vector<std::tuple<std::string, Fault, std::string>> cases = {
        {"start refused", [](auto& a) { a.refuseCommand(cmd::kWrite); }, "u"},
        {"data frame lost", [](auto& a) { a.refuseDataChunk(7); }, kWrite.substr(0, 8)},
        {"wrong sum", [](auto& a) { a.reportWrongSum(true); }, kWrite.substr(0, 34)},
        {"commit refused", [](auto& a) { a.refuseCommand(cmd::kCommit); }, kWrite + "x"},
        {"abort refused too", [](auto& a) { a.refuseCommand(cmd::kCommit), a.refuseCommand(cmd::kAbort); },
         kWrite + "x"},
        // The demo keeps its banks in a file: a write it cannot keep is refused at "w".
        {"cannot be kept", [](auto& a) { a.setCommitListener([](const auto&) { return false; }); },
         kWrite + "x"},
    };
    for (std::size_t k = 0; k <= 35; ++k) {
        cases.emplace_back(
            "gone after " + std::to_string(k), [k](auto& a) { a.vanishAfterFrames(int(k)); },
            kWrite.substr(0, k));
    }
    for (const auto& [name, fault, codes] : cases) {
        SCOPED_TRACE(name);
        adapter.setBank(2, 0, pattern(1));
        connect(2);
        link.sendImage(2) = pattern(2);
        fault(adapter);
        EXPECT_FALSE(link.WriteBank(0));
        EXPECT_EQ(codesOf(adapter), codes);
        if (codes != kWrite) { // only a "w" that came through and was not taken back commits
            EXPECT_EQ(adapter.bank(2, 0), pattern(1));
        }
        adapter.clearFaults();
        adapter.setCommitListener({});
    }
    connect(2);
    EXPECT_TRUE(link.WriteBank(0));
    EXPECT_EQ(adapter.bank(2, 0), pattern(2));

    // Model, its record bytes, where the adapter starts writing bytes of its own.
    for (const auto& [model, records, from] :
         {std::tuple{1, 180, 180}, {1, 180, 179}, {2, 55, 55}, {2, 55, 54}, {3, 165, 165}, {3, 165, 100}}) {
        SCOPED_TRACE(from);
        connect(model);
        adapter.changeBankFromOnCommit(std::size_t(from));
        EXPECT_EQ(link.WriteImage(model, 2, pattern(9), std::size_t(records)),
                  from == records ? WriteOutcome::Complete : WriteOutcome::Differs);
        adapter.clearFaults();
    }
    connect(1);
    adapter.dropReadChunkReply(4);
    EXPECT_EQ(link.WriteImage(1, 0, pattern(5), 180), WriteOutcome::ReadBackFailed);
    EXPECT_EQ(adapter.bank(1, 0), pattern(5)); // committed all the same
    adapter.clearFaults();
    adapter.refuseCommand(cmd::kCommit);
    EXPECT_EQ(link.WriteImage(1, 0, pattern(6), 180), WriteOutcome::Failed);

    adapter.clearFaults();
    connect(3);
    EXPECT_EQ(link.WriteImage(1, 0, pattern(1), 180), WriteOutcome::OtherModel);
    EXPECT_EQ(link.ReadBankImage(1, 0), std::nullopt);
    EXPECT_TRUE(adapter.frames().empty());
    EXPECT_TRUE(link.ReadBankImage(3, 0).has_value());

    // The window's polls and reconnects racing whole-bank moves never interleave with them.
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
    const std::string pair = kWrite + kRead;
    std::size_t next = 0;
    for (const char code : codesOf(adapter)) {
        const std::size_t at = next % pair.size();
        if (code != 'q' || (at != 0 && at != kWrite.size())) {
            ASSERT_EQ(code, pair[at]) << next;
            ++next;
        }
    }
    EXPECT_EQ(next, kTransfers * pair.size());
}

} // namespace
} // namespace zav
