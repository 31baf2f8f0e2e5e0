#include "device/SafeFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace zav {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void put(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

unsigned modeOf(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

struct SafeFile : ::testing::Test {
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zav-safefile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        fs::create_directories(dir / "folder");
        fs::create_directories(dir / "outside");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    fs::path dir;
};

// What an attacker plants at the temporary names an earlier version used is never written, nor are its
// permissions changed.
TEST_F(SafeFile, links_planted_at_temporary_names_are_never_written_through) {
    const fs::path victim = dir / "outside" / "victim";
    put(victim, Bytes{'s', 'e', 'c', 'r', 'e', 't'});
    fs::permissions(victim, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path target = dir / "folder" / "Name.zav4";
    put(target, Bytes{1, 2, 3});
    fs::permissions(target, fs::perms::all);
    fs::create_hard_link(victim, dir / "folder" / ".Name.zav4.tmp");
    fs::create_symlink(victim, dir / "folder" / "Name.zav4.tmp");

    ASSERT_TRUE(replaceFile(target, Bytes(128, 0x42)));
    EXPECT_EQ(contents(target), Bytes(128, 0x42));
    EXPECT_EQ(modeOf(target), 0777u); // the replaced file's own permissions
    EXPECT_EQ(contents(victim), (Bytes{'s', 'e', 'c', 'r', 'e', 't'}));
    EXPECT_EQ(modeOf(victim), 0600u);
    // Nothing but the target and the planted names is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "folder"), fs::directory_iterator()), 3);
}

TEST_F(SafeFile, a_link_in_the_targets_place_is_replaced_and_its_target_kept) {
    const fs::path victim = dir / "outside" / "victim";
    put(victim, Bytes{7});
    const fs::path target = dir / "folder" / "Linked.zav4";
    fs::create_symlink(victim, target);
    ASSERT_TRUE(replaceFile(target, Bytes{9, 9}));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
    EXPECT_EQ(contents(target), (Bytes{9, 9}));
    EXPECT_EQ(contents(victim), Bytes{7});
}

TEST_F(SafeFile, folders_and_fifos_in_the_targets_place_are_refused_and_left) {
    const fs::path folderTarget = dir / "folder" / "Folder.zav4";
    fs::create_directory(folderTarget);
    EXPECT_FALSE(replaceFile(folderTarget, Bytes{1}));
    EXPECT_TRUE(fs::is_directory(folderTarget));

    const fs::path fifo = dir / "folder" / "Fifo.zav4";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(replaceFile(fifo, Bytes{1}));
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    EXPECT_FALSE(replaceFile(dir / "no-such-folder" / "x", Bytes{1}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "folder"), fs::directory_iterator()), 2);
}

// A FIFO is refused at once; reading it would wait for a writer that never comes. The alarm ends the
// test program should it wait all the same.
TEST_F(SafeFile, reading_refuses_fifos_at_once_and_follows_links_only_when_asked) {
    const fs::path fifo = dir / "folder" / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(10);
    EXPECT_FALSE(readRegularFile(fifo, 16, FollowLink::Yes));
    ::alarm(0);
    EXPECT_FALSE(readRegularFile(dir / "folder", 16, FollowLink::Yes));

    const fs::path file = dir / "outside" / "file";
    put(file, Bytes{1, 2, 3, 4});
    fs::create_symlink(file, dir / "folder" / "link");
    EXPECT_EQ(readRegularFile(dir / "folder" / "link", 16, FollowLink::Yes), (Bytes{1, 2, 3, 4}));
    EXPECT_FALSE(readRegularFile(dir / "folder" / "link", 16, FollowLink::No));
    EXPECT_EQ(readRegularFile(file, 2, FollowLink::No), (Bytes{1, 2}));
}

TEST_F(SafeFile, a_private_folder_is_made_closed_and_a_foreign_or_open_one_is_refused_unchanged) {
    const fs::path mine = dir / "mine";
    ASSERT_TRUE(makePrivateFolder(mine));
    EXPECT_EQ(modeOf(mine), 0700u);
    EXPECT_TRUE(makePrivateFolder(mine));

    const fs::path open = dir / "open";
    fs::create_directory(open);
    fs::permissions(open, fs::perms::all);
    EXPECT_FALSE(makePrivateFolder(open));
    EXPECT_EQ(modeOf(open), 0777u);

    fs::create_directory_symlink(mine, dir / "link");
    EXPECT_FALSE(makePrivateFolder(dir / "link"));
    EXPECT_FALSE(makePrivateFolder(dir / "missing" / "below"));

    // Another user's folder, where this user may give it away (root can).
    const fs::path foreign = dir / "foreign";
    fs::create_directory(foreign);
    fs::permissions(foreign, fs::perms::owner_all, fs::perm_options::replace);
    if (::chown(foreign.c_str(), ::geteuid() + 1, static_cast<gid_t>(-1)) != 0) {
        GTEST_SKIP() << "no folder can be given to another user here (not root)";
    }
    EXPECT_FALSE(makePrivateFolder(foreign));
}

} // namespace
} // namespace zav
