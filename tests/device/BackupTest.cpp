#include "device/BackupStore.h"
#include "device/BankSetFile.h"
#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace zav {
namespace {

namespace fs = std::filesystem;

ProfileImage pattern(int seed) {
    ProfileImage image{};
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 13 + static_cast<std::size_t>(seed) * 7);
    }
    return image;
}

struct Scratch {
    Scratch() {
        std::string p = (fs::temp_directory_path() / "zav-backup-XXXXXX").string();
        EXPECT_NE(::mkdtemp(p.data()), nullptr);
        path = p;
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path path;
};

// --- the bank file -------------------------------------------------------------------------------

TEST(BankSetFile, whole_adapter_and_single_bank_round_trip_with_model_mode_time_and_node) {
    BankSet set{2, 0, 1765000000, "/dev/hidraw3", {pattern(1), pattern(2), pattern(3), pattern(4)}};
    const auto bytes = encodeBankSet(set);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 280u + 4 * 512);
    EXPECT_EQ(std::string(bytes->begin(), bytes->begin() + 8), "ZAVBANKS");
    BankSet back;
    ASSERT_EQ(decodeBankSet(*bytes, back), BankSetError::None);
    EXPECT_EQ(back.model, 2);
    EXPECT_EQ(back.time, 1765000000);
    EXPECT_EQ(back.node, "/dev/hidraw3");
    EXPECT_EQ(back.banks, set.banks);

    const BankSet one{3, 2, 5, "n", {pattern(9)}};
    ASSERT_EQ(decodeBankSet(*encodeBankSet(one), back), BankSetError::None);
    EXPECT_EQ(back.firstMode, 2);
    EXPECT_EQ(back.banks, one.banks);
    // Sets that name no mode the adapter has are never written.
    EXPECT_FALSE(encodeBankSet(BankSet{1, 2, 0, "", {pattern(1), pattern(2), pattern(3)}}));
    EXPECT_FALSE(encodeBankSet(BankSet{4, 0, 0, "", {pattern(1)}}));
}

TEST(BankSetFile, truncated_foreign_damaged_and_later_files_are_refused_unread) {
    const std::vector<std::uint8_t> good = *encodeBankSet(BankSet{1, 0, 7, "node", {pattern(1), pattern(2)}});
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
        BankSetError expected;
    };
    auto with = [&](std::size_t at, std::uint8_t value) {
        auto b = good;
        b[at] = value;
        return b;
    };
    const std::vector<Row> rows = {
        {"empty", {}, BankSetError::Foreign},
        {"a profile file", std::vector<std::uint8_t>(128, 0), BankSetError::Foreign},
        {"header cut", {good.begin(), good.begin() + 100}, BankSetError::Truncated},
        {"last bank cut", {good.begin(), good.end() - 1}, BankSetError::Truncated},
        {"a byte more",
         [&] {
             auto b = good;
             b.push_back(0);
             return b;
         }(),
         BankSetError::Truncated},
        {"bank byte changed", with(300, static_cast<std::uint8_t>(good[300] + 1)), BankSetError::Damaged},
        {"model changed", with(bankset::kModel, 2), BankSetError::Damaged},
        {"later version", with(bankset::kVersion, 2), BankSetError::Version},
    };
    for (const Row& row : rows) {
        BankSet set{3, 3, 3, "untouched", {}};
        EXPECT_EQ(decodeBankSet(row.bytes, set), row.expected) << row.name;
        EXPECT_EQ(set.node, "untouched") << row.name;
    }
}

// --- the write that keeps what it overwrites ------------------------------------------------------

struct KeepingWrite : ::testing::Test {
    KeepingWrite() {
        adapter.setBank(1, 2, pattern(5));
        adapter.plug(1);
        EXPECT_TRUE(link.OpenAndIdentify());
    }
    Scratch scratch;
    SimulatedAdapter adapter;
    DeviceLink link{adapter};
    BackupStore store{scratch.path / "state" / "zavora" / "backups"};
};

TEST_F(KeepingWrite, a_write_keeps_the_bank_it_overwrote_and_writing_that_back_restores_it) {
    const ProfileImage before = adapter.bank(1, 2);
    ASSERT_EQ(writeKeepingBackup(link, store, 1, 2, pattern(6), 180), WriteOutcome::Complete);
    EXPECT_EQ(adapter.bank(1, 2), pattern(6));

    const auto kept = store.latest(1);
    ASSERT_TRUE(kept);
    EXPECT_EQ(fs::status(store.folder()).permissions() & fs::perms::others_all, fs::perms::none);
    BankSet set;
    ASSERT_EQ(loadBankSet(*kept, set), BankSetError::None);
    EXPECT_EQ(set.model, 1);
    EXPECT_EQ(set.firstMode, 2);
    EXPECT_EQ(set.node, link.identity().path);
    ASSERT_EQ(set.banks.size(), 1u);
    EXPECT_EQ(set.banks[0], before);

    ASSERT_EQ(writeKeepingBackup(link, store, 1, 2, set.banks[0], 180), WriteOutcome::Complete);
    EXPECT_EQ(adapter.bank(1, 2), before);
    EXPECT_EQ(store.list(1).size(), 2u);
    EXPECT_TRUE(store.list(2).empty());
}

TEST_F(KeepingWrite, nothing_is_written_when_the_first_read_or_the_backup_fails) {
    // A chunk of the read before the write goes missing: no "u" frame follows.
    adapter.dropReadChunkReply(4);
    adapter.clearLog();
    EXPECT_EQ(writeKeepingBackup(link, store, 1, 2, pattern(6), 180), WriteOutcome::NotKept);
    const auto codes = adapter.frameCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), cmd::kWrite), 0);
    EXPECT_EQ(adapter.bank(1, 2), pattern(5));
    EXPECT_FALSE(store.latest(1));
    adapter.clearFaults();

    // The bank arrives but cannot be kept: a file stands where the folder should be.
    fs::create_directories(scratch.path / "blocked");
    std::ofstream(scratch.path / "blocked" / "backups") << "x";
    BackupStore blocked(scratch.path / "blocked" / "backups");
    adapter.clearLog();
    EXPECT_EQ(writeKeepingBackup(link, blocked, 1, 2, pattern(6), 180), WriteOutcome::NotKept);
    const auto codes2 = adapter.frameCodes();
    EXPECT_EQ(std::count(codes2.begin(), codes2.end(), cmd::kWrite), 0);
    EXPECT_EQ(adapter.bank(1, 2), pattern(5));
}

TEST_F(KeepingWrite, the_newest_hundred_per_model_stay_and_a_backup_being_restored_is_never_pruned) {
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(store.keep(1, i % 4, "n", pattern(i)));
    }
    ASSERT_TRUE(store.keep(3, 0, "n", pattern(0)));
    const auto all = store.list(1);
    ASSERT_EQ(all.size(), 100u);
    const fs::path oldest = all.front();
    {
        // Named as a person might type it: the same file all the same.
        const BackupStore::Reading reading(store, oldest.parent_path() / "." / oldest.filename());
        ASSERT_TRUE(store.keep(1, 0, "n", pattern(100)));
        EXPECT_TRUE(fs::exists(oldest));
        EXPECT_EQ(store.list(1).size(), 101u) << "the newest hundred, and the one being read";
    }
    ASSERT_TRUE(store.keep(1, 0, "n", pattern(101)));
    EXPECT_FALSE(fs::exists(oldest));
    EXPECT_FALSE(fs::exists(all[1]));
    EXPECT_TRUE(fs::exists(all[2]));
    EXPECT_EQ(store.list(1).size(), 100u);
    EXPECT_EQ(store.list(3).size(), 1u) << "another model's backups are not counted";
    // The newest is the last kept.
    BankSet set;
    ASSERT_EQ(loadBankSet(*store.latest(1), set), BankSetError::None);
    EXPECT_EQ(set.banks[0], pattern(101));
}

TEST(BackupFolder, follows_xdg_state_home_and_falls_back_to_the_home_folder) {
    const char* savedState = std::getenv("XDG_STATE_HOME");
    const std::string keepState = savedState != nullptr ? savedState : "";
    const std::string keepHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    ::setenv("XDG_STATE_HOME", "/st", 1);
    EXPECT_EQ(defaultBackupFolder(), fs::path("/st/zavora/backups"));
    // A relative value is ignored, as the base directory rules say.
    ::setenv("XDG_STATE_HOME", "rel", 1);
    ::setenv("HOME", "/home/p", 1);
    EXPECT_EQ(defaultBackupFolder(), fs::path("/home/p/.local/state/zavora/backups"));
    ::setenv("HOME", keepHome.c_str(), 1);
    if (savedState != nullptr) {
        ::setenv("XDG_STATE_HOME", keepState.c_str(), 1);
    } else {
        ::unsetenv("XDG_STATE_HOME");
    }
}

} // namespace
} // namespace zav
