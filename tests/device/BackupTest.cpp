#include "device/BackupStore.h"
#include "device/BankFile.h"
#include "device/BankSetFile.h"
#include "device/DeviceLink.h"
#include "device/SafeFile.h"
#include "device/SimulatedAdapter.h"
#include "profiles/AdapterBanks.h"
#include "profiles/AdapterTransfer.h"
#include "profiles/ProfileRecord.h"
#include "tests/ScratchFolder.h"
#include "tests/device/GoldenFrames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace zav {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using test::pattern;

unsigned modeOf(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

struct Files : ::testing::Test {
    test::ScratchFolder dir;
};

// Links planted at temporary names or in the file's place are never written through.
TEST_F(Files, a_replaced_file_is_written_only_where_it_is_named_and_only_regular_files_are_read) {
    fs::create_directory(dir / "folder");
    const fs::path victim = dir / "victim";
    std::ofstream(victim) << "sec";
    fs::permissions(victim, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path target = dir / "folder" / "Name.zav4";
    std::ofstream(target) << "old";
    fs::permissions(target, fs::perms::all);
    fs::create_hard_link(victim, dir / "folder" / ".Name.zav4.tmp");
    fs::create_symlink(victim, dir / "folder" / "Name.zav4.tmp");
    ASSERT_TRUE(replaceFile(target, Bytes(128, 0x42)));
    EXPECT_EQ(readRegularFile(target, 4096, FollowLink::No), Bytes(128, 0x42));
    EXPECT_EQ(modeOf(target), 0777u); // the replaced file keeps its own permissions
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "folder"), fs::directory_iterator()), 3);

    const fs::path linked = dir / "folder" / "Linked.zav4";
    fs::create_symlink(victim, linked);
    ASSERT_TRUE(replaceFile(linked, Bytes{9}));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(linked)));
    EXPECT_EQ(readRegularFile(victim, 2, FollowLink::No), (Bytes{'s', 'e'}));
    EXPECT_EQ(modeOf(victim), 0600u);

    fs::create_directory(dir / "folder" / "Folder.zav4");
    EXPECT_FALSE(replaceFile(dir / "folder" / "Folder.zav4", Bytes{1}));
    const fs::path fifo = dir / "folder" / "Fifo.zav4";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(replaceFile(fifo, Bytes{1}));
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    EXPECT_FALSE(replaceFile(dir / "missing" / "x", Bytes{1}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "folder"), fs::directory_iterator()), 6);

    // A FIFO is refused at once, not waited on (the alarm ends the program should it wait).
    SimulatedAdapter::Banks banks{};
    banks[0][1][2] = 3;
    ::alarm(10);
    EXPECT_FALSE(readRegularFile(fifo, 16, FollowLink::Yes));
    EXPECT_FALSE(loadBankFile(fifo, banks));
    ::alarm(0);
    EXPECT_EQ(banks[0][1][2], 3);
    EXPECT_FALSE(readRegularFile(dir.path(), 16, FollowLink::Yes));

    const fs::path link = dir / "folder" / "Name.zav4.tmp"; // planted above, still pointing at the victim
    EXPECT_EQ(readRegularFile(link, 16, FollowLink::Yes), (Bytes{'s', 'e', 'c'}));
    EXPECT_FALSE(readRegularFile(link, 16, FollowLink::No));

    ASSERT_TRUE(makePrivateFolder(dir / "mine"));
    EXPECT_EQ(modeOf(dir / "mine"), 0700u);
    EXPECT_TRUE(makePrivateFolder(dir / "mine"));
    fs::create_directory(dir / "open");
    fs::permissions(dir / "open", fs::perms::all);
    EXPECT_FALSE(makePrivateFolder(dir / "open"));
    EXPECT_EQ(modeOf(dir / "open"), 0777u);
    fs::create_directory_symlink(dir / "mine", dir / "linked");
    EXPECT_FALSE(makePrivateFolder(dir / "linked"));
    EXPECT_FALSE(makePrivateFolder(dir / "missing" / "below"));
}

struct KeepingWrite : Files {
    KeepingWrite() {
        adapter.setBank(1, 2, pattern(5));
        adapter.plug(1);
        EXPECT_TRUE(link.OpenAndIdentify());
    }
    SimulatedAdapter adapter;
    DeviceLink link{adapter};
    BackupStore store{dir / "state" / "zavora" / "backups"};
};

TEST_F(KeepingWrite,
       a_write_keeps_the_bank_it_overwrote_nothing_is_written_when_that_fails_and_profiles_move) {
    ASSERT_EQ(writeKeepingBackup(link, store, 1, 2, pattern(6), 180), WriteOutcome::Complete);
    EXPECT_EQ(adapter.bank(1, 2), pattern(6));
    const auto kept = store.latest(1);
    ASSERT_TRUE(kept);
    EXPECT_EQ(modeOf(store.folder()), 0700u);
    EXPECT_EQ(modeOf(*kept), 0600u);
    BankSet set;
    ASSERT_EQ(loadBankSet(*kept, set), BankSetError::None);
    EXPECT_EQ(std::tie(set.model, set.firstMode, set.node), std::make_tuple(1, 2, link.identity().path));
    ASSERT_EQ(set.banks.size(), 1u);
    EXPECT_EQ(set.banks[0], pattern(5));

    ASSERT_EQ(writeKeepingBackup(link, store, 1, 2, set.banks[0], 180), WriteOutcome::Complete);
    EXPECT_EQ(adapter.bank(1, 2), pattern(5));
    EXPECT_EQ(store.list(1).size(), 2u);
    EXPECT_TRUE(store.list(2).empty());

    std::ofstream(dir / "blocked") << "x";
    BackupStore blocked(dir / "blocked" / "backups"); // a file stands where its folder should be
    for (BackupStore* into : {&store, &blocked}) {
        adapter.clearLog();
        if (into == &store) {
            adapter.dropReadChunkReply(4); // the bank to keep does not arrive
        }
        EXPECT_EQ(writeKeepingBackup(link, *into, 1, 2, pattern(6), 180), WriteOutcome::NotKept);
        const auto codes = adapter.frameCodes();
        EXPECT_EQ(std::count(codes.begin(), codes.end(), cmd::kWrite), 0);
        adapter.clearFaults();
    }
    EXPECT_EQ(adapter.bank(1, 2), pattern(5));
    EXPECT_EQ(store.list(1).size(), 2u);

    // No model or mode of the adapter's, no backup; a node name too long for the file is cut.
    EXPECT_FALSE(store.keep(0, 0, "n", pattern(1)));
    EXPECT_FALSE(store.keep(4, 0, "n", pattern(1)));
    EXPECT_FALSE(store.keep(1, 4, "n", pattern(1)));
    const auto longNode = store.keep(3, 0, std::string(300, 'n'), pattern(1));
    ASSERT_TRUE(longNode);
    ASSERT_EQ(loadBankSet(*longNode, set), BankSetError::None);
    EXPECT_EQ(set.node, std::string(bankset::kNodeSize - 1, 'n'));

    // A fresh adapter holds a profile in every slot; one exported from a slot imports into another.
    adapter.setBanks(freshAdapterBanks());
    for (int model : {1, 2, 3}) {
        for (int slot = 0; slot < profileSlotCount(model); ++slot) {
            const ProfileImage fresh = adapter.bank(model, 3);
            const auto record = recordAt(fresh, model, slot);
            EXPECT_NE(std::count(record.begin(), record.end(), 0), std::ssize(record)) << model << slot;
        }
    }
    ProfileImage bank = adapter.bank(1, 0);
    bank[5] ^= 0xFF;
    adapter.setBank(1, 0, bank);
    EXPECT_EQ(exportProfile(link, 0, 3, dir / "p.zav4"), TransferError::BadSlot);
    ASSERT_EQ(exportProfile(link, 0, 0, dir / "p.zav4"), TransferError::None);
    int mode = -1;
    WriteOutcome outcome{};
    ASSERT_EQ(importProfile(link, store, dir / "p.zav4", 2, mode, outcome), TransferError::None);
    EXPECT_EQ(outcome, WriteOutcome::Complete);
    const ProfileImage after = adapter.bank(1, 0);
    const auto first = recordAt(after, 1, 0);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), recordAt(after, 1, 2).begin()));
}

TEST_F(Files, backups_round_trip_a_damaged_one_is_refused_unread_and_the_newest_hundred_per_model_stay) {
    BackupStore store{dir / "backups"};
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(store.keep(1, i % 4, "n", pattern(i)));
    }
    ASSERT_TRUE(store.keep(3, 0, "n", pattern(0))); // another model's backups are not counted
    const auto all = store.list(1);
    ASSERT_EQ(all.size(), 100u);
    {
        const BackupStore::Reading reading(store, all[0].parent_path() / "." / all[0].filename());
        ASSERT_TRUE(store.keep(1, 0, "n", pattern(100)));
        EXPECT_TRUE(fs::exists(all[0]));
        EXPECT_EQ(store.list(1).size(), 101u);
    }
    ASSERT_TRUE(store.keep(1, 0, "n", pattern(101)));
    EXPECT_FALSE(fs::exists(all[0]));
    EXPECT_FALSE(fs::exists(all[1]));
    EXPECT_TRUE(fs::exists(all[2]));
    EXPECT_EQ(store.list(3).size(), 1u);
    BankSet back;
    ASSERT_EQ(loadBankSet(*store.latest(1), back), BankSetError::None);
    EXPECT_EQ(back.banks[0], pattern(101));

    const BankSet set{2, 1, 1765000000, "/dev/hidraw3", {pattern(1), pattern(2), pattern(3)}};
    const auto good = encodeBankSet(set);
    ASSERT_TRUE(good);
    EXPECT_EQ(good->size(), 280u + 3 * 512);
    ASSERT_EQ(decodeBankSet(*good, back), BankSetError::None);
    EXPECT_EQ(std::tie(back.model, back.firstMode, back.time, back.node),
              std::tie(set.model, set.firstMode, set.time, set.node));
    EXPECT_EQ(back.banks, set.banks);
    EXPECT_FALSE(encodeBankSet(BankSet{1, 2, 0, "", {pattern(1), pattern(2), pattern(3)}}));
    EXPECT_FALSE(encodeBankSet(BankSet{4, 0, 0, "", {pattern(1)}}));
    EXPECT_FALSE(encodeBankSet(BankSet{1, 0, 0, "", {}}));

    auto with = [&](std::size_t at, std::uint8_t value) {
        Bytes b = *good;
        b[at] = value;
        return b;
    };
    Bytes longer = *good;
    longer.push_back(0);
    const struct {
        const char* name;
        Bytes bytes;
        BankSetError expected;
    } rows[] = {
        {"empty", {}, BankSetError::Foreign},
        {"a profile file", Bytes(128, 0), BankSetError::Foreign},
        {"magic only", {good->begin(), good->begin() + 8}, BankSetError::Truncated},
        {"last bank cut", {good->begin(), good->end() - 1}, BankSetError::Truncated},
        {"a byte more", longer, BankSetError::Truncated},
        {"bank byte changed", with(300, static_cast<std::uint8_t>((*good)[300] + 1)), BankSetError::Damaged},
        {"model changed", with(bankset::kModel, 1), BankSetError::Damaged},
        {"later version", with(bankset::kVersion, 2), BankSetError::Version},
    };
    for (const auto& row : rows) {
        BankSet untouched{3, 3, 3, "untouched", {}};
        EXPECT_EQ(decodeBankSet(row.bytes, untouched), row.expected) << row.name;
        EXPECT_EQ(untouched.node, "untouched") << row.name;
    }
}

} // namespace
} // namespace zav
