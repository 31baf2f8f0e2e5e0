#include "profiles/ProfileFile.h"
#include "tests/ScratchFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <random>
#include <vector>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace zav {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A save killed at any moment leaves the old profile or the new one, never a part of either.
TEST(SaveUnderFaults, a_process_killed_during_saves_never_leaves_a_broken_profile) {
    test::ScratchFolder dir;
    const fs::path file = dir / "Sniper.zav4";
    std::array<std::uint8_t, 60> a{};
    std::array<std::uint8_t, 60> b{};
    a.fill(0x11);
    b.fill(0x22);
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

} // namespace
} // namespace zav
