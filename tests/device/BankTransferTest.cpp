#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace zav {
namespace {

ProfileImage pattern(std::uint8_t seed) {
    ProfileImage image{};
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7 + seed);
    }
    return image;
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

// --- reading ---

TEST_F(BankTransfer, read_fills_work_page_with_18_exchanges) {
    adapter.setBank(1, 2, pattern(3));
    connect(1);
    EXPECT_TRUE(link.ReadBank(2));
    EXPECT_EQ(link.workImage(1), pattern(3));
    EXPECT_EQ(link.sendImage(1), ProfileImage{}); // a read never touches the send page
    const auto frames = adapter.frames();
    ASSERT_EQ(frames.size(), 18u);
    EXPECT_EQ(frames[0].code(), 0x72);
    EXPECT_EQ(frames[0].param(), 2);
    for (int n = 0; n < 16; ++n) {
        EXPECT_EQ(frames[1 + n].code(), 0x73);
        EXPECT_EQ(frames[1 + n].param(), n);
    }
    EXPECT_EQ(frames[17].code(), 0x74);
    EXPECT_EQ(frames[17].param(), 2);
    EXPECT_EQ(adapter.repliesFetched(), 18);
}

TEST_F(BankTransfer, moss_playstation3_bank_is_unswapped_on_read) {
    ProfileImage stored = pattern(0);
    stored[14] = 0xA1;
    stored[15] = 0xA2;
    stored[17] = 0xB2;
    stored[18] = 0xB1;
    adapter.setBank(2, 1, stored);
    adapter.setBank(2, 0, stored);
    connect(2);
    ASSERT_TRUE(link.ReadBank(1));
    EXPECT_EQ(link.workImage(2)[14], 0xB1);
    EXPECT_EQ(link.workImage(2)[18], 0xA1);
    EXPECT_EQ(link.workImage(2)[15], 0xB2);
    EXPECT_EQ(link.workImage(2)[17], 0xA2);
    EXPECT_EQ(link.workImage(2)[16], stored[16]);
    ASSERT_TRUE(link.ReadBank(0));
    EXPECT_EQ(link.workImage(2), stored);
}

TEST_F(BankTransfer, other_models_never_swap) {
    adapter.setBank(1, 1, pattern(9));
    adapter.setBank(3, 1, pattern(9));
    connect(1);
    ASSERT_TRUE(link.ReadBank(1));
    EXPECT_EQ(link.workImage(1), pattern(9));
    connect(3);
    ASSERT_TRUE(link.ReadBank(1));
    EXPECT_EQ(link.workImage(3), pattern(9));
}

TEST_F(BankTransfer, failed_read_leaves_work_page_exactly_as_it_was) {
    adapter.setBank(1, 0, pattern(1));
    connect(1);
    const ProfileImage before = pattern(200);

    link.workImage(1) = before;
    adapter.dropReadChunkReply(5);
    EXPECT_FALSE(link.ReadBank(0));
    EXPECT_EQ(link.workImage(1), before);
    EXPECT_EQ(adapter.frames().size(), 18u); // the remaining chunks and the sum are still asked

    adapter.clearFaults();
    adapter.reportWrongSum(true);
    EXPECT_FALSE(link.ReadBank(0));
    EXPECT_EQ(link.workImage(1), before);

    adapter.clearFaults();
    adapter.clearLog();
    adapter.refuseCommand(0x72);
    EXPECT_FALSE(link.ReadBank(0));
    EXPECT_EQ(adapter.frames().size(), 1u);
    EXPECT_EQ(link.workImage(1), before);

    adapter.clearFaults();
    adapter.refuseCommand(0x74);
    EXPECT_FALSE(link.ReadBank(0));
    EXPECT_EQ(link.workImage(1), before);

    adapter.clearFaults();
    EXPECT_TRUE(link.ReadBank(0));
    EXPECT_EQ(link.workImage(1), pattern(1));
}

TEST_F(BankTransfer, adapter_vanishing_during_a_read_fails_cleanly) {
    connect(3);
    const ProfileImage before = pattern(77);
    for (int k = 0; k < 18; ++k) {
        adapter.plug(3);
        ASSERT_TRUE(link.OpenAndIdentify());
        link.workImage(3) = before;
        adapter.vanishAfterFrames(k);
        EXPECT_FALSE(link.ReadBank(0)) << k;
        EXPECT_EQ(link.workImage(3), before) << k;
        adapter.clearFaults();
    }
}

TEST_F(BankTransfer, nothing_moves_without_a_matched_adapter) {
    EXPECT_FALSE(link.ReadBank(0));
    EXPECT_FALSE(link.WriteBank(0));
    EXPECT_FALSE(link.SendCommand(0x79, 0));
    EXPECT_TRUE(adapter.frames().empty());
}

// --- writing ---

TEST_F(BankTransfer, write_sends_35_frames_and_commits) {
    connect(1);
    link.sendImage(1) = pattern(5);
    ASSERT_TRUE(link.WriteBank(3));
    const auto frames = adapter.frames();
    ASSERT_EQ(frames.size(), 35u);
    EXPECT_EQ(frames[0].code(), 0x75);
    EXPECT_EQ(frames[0].param(), 3);
    EXPECT_EQ(frames[33].code(), 0x76);
    EXPECT_EQ(frames[33].param(), 3);
    EXPECT_EQ(frames[34].code(), 0x77);
    EXPECT_EQ(frames[34].param(), 3);
    EXPECT_EQ(adapter.repliesFetched(), 3);
    EXPECT_EQ(adapter.bank(1, 3), pattern(5));
    EXPECT_EQ(adapter.bank(1, 0), ProfileImage{});
}

TEST_F(BankTransfer, data_frame_carries_its_chunk) {
    connect(1);
    ProfileImage image{};
    std::iota(image.begin(), image.end(), 0); // byte i holds i mod 256
    link.sendImage(1) = image;
    ASSERT_TRUE(link.WriteBank(0));
    const auto frames = adapter.frames();
    const auto& chunk5 = frames[1 + 5].bytes;
    const std::array<std::uint8_t, 22> expected = {0x05, 0xA5, 0x75, 0x5A, 0x8A, 0x05, 80, 81, 82, 83, 84,
                                                   85,   86,   87,   88,   89,   90,   91, 92, 93, 94, 95};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), chunk5.begin()));
    // Bytes the data frame does not name keep the status payload of the identification.
    EXPECT_EQ(chunk5[22], 0xBC);
    EXPECT_EQ(chunk5[32], 0x8A);
    // The sum request carries the last chunk in its payload.
    const auto& sumFrame = frames[33].bytes;
    EXPECT_EQ(sumFrame[6], 496 % 256);
    EXPECT_EQ(sumFrame[21], 511 % 256);
}

// The demo keeps its banks in a file; a write it cannot keep is refused at "w", as a failing flash
// would be, and the banks stay as they were.
TEST_F(BankTransfer, a_commit_that_cannot_be_kept_is_refused_and_changes_no_bank) {
    connect(1);
    adapter.setBank(1, 2, pattern(1));
    std::vector<ProfileImage> offered;
    bool keep = false;
    adapter.setCommitListener([&](const SimulatedAdapter::Banks& banks) {
        offered.push_back(banks[0][2]);
        return keep;
    });
    link.sendImage(1) = pattern(2);
    EXPECT_FALSE(link.WriteBank(2));
    const auto frames = adapter.frames();
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[frames.size() - 2].code(), 0x77); // "w" refused, then "x"
    EXPECT_EQ(frames.back().code(), 0x78);
    EXPECT_EQ(adapter.bank(1, 2), pattern(1));
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0], pattern(2));

    keep = true;
    EXPECT_TRUE(link.WriteBank(2));
    EXPECT_EQ(adapter.bank(1, 2), pattern(2));
}

TEST_F(BankTransfer, refused_start_sends_nothing_more) {
    connect(2);
    adapter.refuseCommand(0x75);
    EXPECT_FALSE(link.WriteBank(0));
    EXPECT_EQ(adapter.frames().size(), 1u);
}

TEST_F(BankTransfer, sum_mismatch_is_not_complete_and_sends_nothing_more) {
    connect(3);
    adapter.setBank(3, 0, pattern(1));
    link.sendImage(3) = pattern(2);
    adapter.reportWrongSum(true);
    EXPECT_FALSE(link.WriteBank(0));
    EXPECT_EQ(adapter.frames().size(), 34u);
    EXPECT_EQ(adapter.frames().back().code(), 0x76);
    EXPECT_EQ(adapter.bank(3, 0), pattern(1));
}

TEST_F(BankTransfer, refused_commit_is_followed_by_abort_and_fails) {
    connect(1);
    adapter.setBank(1, 1, pattern(1));
    link.sendImage(1) = pattern(2);
    adapter.refuseCommand(0x77);
    EXPECT_FALSE(link.WriteBank(1));
    const auto codes = adapter.frameCodes();
    ASSERT_EQ(codes.size(), 36u);
    EXPECT_EQ(codes[34], 0x77);
    EXPECT_EQ(codes[35], 0x78);
    EXPECT_EQ(adapter.bank(1, 1), pattern(1));

    // Even when the abort fails too, the write is not complete.
    adapter.refuseCommand(0x78);
    EXPECT_FALSE(link.WriteBank(1));
}

TEST_F(BankTransfer, refused_data_frame_stops_the_write) {
    connect(1);
    adapter.setBank(1, 0, pattern(1));
    link.sendImage(1) = pattern(2);
    adapter.refuseDataChunk(7);
    EXPECT_FALSE(link.WriteBank(0));
    EXPECT_EQ(adapter.frames().size(), 8u); // "u" and chunks 0..6
    EXPECT_EQ(adapter.bank(1, 0), pattern(1));
}

TEST_F(BankTransfer, adapter_vanishing_after_any_frame_of_a_write_never_reports_complete) {
    for (int k = 0; k <= 35; ++k) {
        adapter.plug(1);
        adapter.setBank(1, 0, pattern(1));
        ASSERT_TRUE(link.OpenAndIdentify());
        link.sendImage(1) = pattern(2);
        adapter.vanishAfterFrames(k);
        EXPECT_FALSE(link.WriteBank(0)) << k;
        // Only when the commit frame itself went out can the adapter have committed.
        if (k < 35) {
            EXPECT_EQ(adapter.bank(1, 0), pattern(1)) << k;
        }
        adapter.clearFaults();
    }
    // A clean reconnect afterwards.
    adapter.plug(1);
    ASSERT_TRUE(link.OpenAndIdentify());
    EXPECT_TRUE(link.WriteBank(0));
    EXPECT_EQ(adapter.bank(1, 0), pattern(2));
}

TEST_F(BankTransfer, write_then_read_round_trips_every_model_and_bank) {
    for (int model = 1; model <= 3; ++model) {
        connect(model);
        for (int bank = 0; bank < 4; ++bank) {
            const ProfileImage image = pattern(static_cast<std::uint8_t>(model * 16 + bank));
            link.sendImage(model) = image;
            ASSERT_TRUE(link.WriteBank(bank));
            ASSERT_TRUE(link.ReadBank(bank));
            ProfileImage expected = image;
            if (model == 2 && bank == 1) {
                std::swap(expected[14], expected[18]);
                std::swap(expected[15], expected[17]);
            }
            EXPECT_EQ(link.workImage(model), expected) << model << " " << bank;
        }
    }
}

} // namespace
} // namespace zav

namespace zav {
namespace {

TEST_F(BankTransfer, fetch_gives_the_bank_as_stored_and_leaves_the_pages_alone) {
    ProfileImage stored = pattern(4);
    adapter.setBank(2, 1, stored);
    connect(2);
    link.workImage(2) = pattern(99);
    const auto fetched = link.FetchBank(1);
    ASSERT_TRUE(fetched.has_value());
    EXPECT_EQ(*fetched, stored); // no exchange of the PS3 pairs
    EXPECT_EQ(link.workImage(2), pattern(99));
    adapter.dropReadChunkReply(15);
    EXPECT_FALSE(link.FetchBank(1).has_value());
}

} // namespace
} // namespace zav

namespace zav {
namespace {

// --- a write gathered as a job, and its check read ---

struct CheckedWrite : BankTransfer {};

TEST_F(CheckedWrite, only_the_record_bytes_are_compared_with_what_was_sent) {
    struct Case {
        const char* name;
        int model;
        std::size_t records;     // record bytes of the model's bank
        std::size_t adapterFrom; // where the adapter starts writing its own bytes
        WriteOutcome expected;
    };
    const Case cases[] = {
        {"kite tail changed", 1, 180, 180, WriteOutcome::Complete},
        {"kite last record byte changed", 1, 180, 179, WriteOutcome::Differs},
        {"moss tail changed", 2, 55, 55, WriteOutcome::Complete},
        {"moss record changed", 2, 55, 54, WriteOutcome::Differs},
        {"fern tail changed", 3, 165, 165, WriteOutcome::Complete},
        {"fern record changed", 3, 165, 100, WriteOutcome::Differs},
    };
    for (const Case& c : cases) {
        connect(c.model);
        adapter.changeBankFromOnCommit(c.adapterFrom);
        EXPECT_EQ(link.WriteImage(c.model, 2, pattern(9), c.records), c.expected) << c.name;
        adapter.clearFaults();
    }
}

TEST_F(CheckedWrite, a_check_read_that_fails_is_told_apart_from_a_failed_write) {
    connect(1);
    adapter.dropReadChunkReply(4);
    EXPECT_EQ(link.WriteImage(1, 0, pattern(5), 180), WriteOutcome::ReadBackFailed);
    EXPECT_EQ(adapter.bank(1, 0), pattern(5)); // committed all the same
    adapter.clearFaults();

    adapter.refuseCommand(0x77);
    EXPECT_EQ(link.WriteImage(1, 0, pattern(6), 180), WriteOutcome::Failed);
}

TEST_F(CheckedWrite, a_job_gathered_for_another_model_moves_nothing) {
    connect(3);
    EXPECT_EQ(link.WriteImage(1, 0, pattern(1), 180), WriteOutcome::OtherModel);
    EXPECT_EQ(link.ReadBankImage(1, 0), std::nullopt);
    EXPECT_TRUE(adapter.frames().empty());
    EXPECT_TRUE(link.ReadBankImage(3, 0).has_value());
}

} // namespace
} // namespace zav
