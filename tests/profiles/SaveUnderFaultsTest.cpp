#include "profiles/ProfileFile.h"
#include "profiles/ProfileRecord.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include <csignal>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zav {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::array<std::uint8_t, 60> kiteRecord(std::uint8_t fill) {
    std::array<std::uint8_t, 60> record{};
    record.fill(fill);
    return record;
}

struct SaveUnderFaults : ::testing::Test {
    void SetUp() override {
        dir = fs::temp_directory_path() / ("zav-save-faults-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        if (mounted) {
            ::umount(dir.c_str());
        }
        fs::remove_all(dir);
    }
    fs::path dir;
    bool mounted = false;
};

// A save killed at any moment leaves the old profile or the new one, never a part of either.
TEST_F(SaveUnderFaults, a_process_killed_during_saves_never_leaves_a_broken_profile) {
    const fs::path file = dir / "Sniper.zav4";
    const auto a = kiteRecord(0x11);
    const auto b = kiteRecord(0x22);
    ASSERT_TRUE(writeProfileFile(file, 1, a, 0));
    const std::vector<std::uint8_t> imageA = fileBytes(file);
    ASSERT_TRUE(writeProfileFile(file, 1, b, 3));
    const std::vector<std::uint8_t> imageB = fileBytes(file);

    std::mt19937 random(12345);
    for (int round = 0; round < 150; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                writeProfileFile(file, 1, i % 2 == 0 ? a : b, i % 2 == 0 ? 0 : 3);
            }
        }
        ::usleep(static_cast<useconds_t>(random() % 3000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::vector<std::uint8_t> now = fileBytes(file);
        ASSERT_TRUE(now == imageA || now == imageB) << "round " << round << ", " << now.size() << " bytes";
    }
    // A temporary file left by a kill does not stop the next save.
    EXPECT_TRUE(writeProfileFile(file, 1, a, 0));
    EXPECT_EQ(fileBytes(file), imageA);
}

TEST_F(SaveUnderFaults, a_full_disk_fails_the_save_and_keeps_the_profile) {
    if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=16k") != 0) {
        GTEST_SKIP() << "no small file system can be mounted here";
    }
    mounted = true;
    const fs::path file = dir / "Sniper.zav4";
    ASSERT_TRUE(writeProfileFile(file, 1, kiteRecord(0x33), 1));
    const std::vector<std::uint8_t> before = fileBytes(file);
    {
        std::ofstream filler(dir / "filler", std::ios::binary);
        const std::vector<char> block(4096, 'x');
        for (int i = 0; i < 64 && filler; ++i) {
            filler.write(block.data(), static_cast<std::streamsize>(block.size()));
            filler.flush();
        }
    }
    EXPECT_FALSE(writeProfileFile(file, 1, kiteRecord(0x44), 2));
    EXPECT_EQ(fileBytes(file), before);
    EXPECT_FALSE(writeProfileFile(dir / "New.zav4", 1, kiteRecord(0x44), 2));
    EXPECT_FALSE(fs::exists(dir / "New.zav4"));
}

} // namespace
} // namespace zav
