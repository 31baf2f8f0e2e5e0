#include "device/BankFile.h"

#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace zav {
namespace {

struct BankFile : ::testing::Test {
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("zav-bankfile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(BankFile, banks_are_stored_model_by_model_and_mode_by_mode) {
    SimulatedAdapter::Banks banks{};
    banks[0][0][0] = 0x11;
    banks[0][3][511] = 0x14;
    banks[1][0][0] = 0x21;
    banks[2][3][511] = 0x34;
    const auto file = dir / "simulated-adapter.bin";
    ASSERT_TRUE(saveBankFile(file, banks));
    ASSERT_EQ(std::filesystem::file_size(file), 6144u);

    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes(6144);
    in.read(bytes.data(), 6144);
    EXPECT_EQ(bytes[0], 0x11);
    EXPECT_EQ(bytes[3 * 512 + 511], 0x14);
    EXPECT_EQ(bytes[4 * 512], 0x21);
    EXPECT_EQ(bytes[11 * 512 + 511], 0x34);

    SimulatedAdapter::Banks back{};
    ASSERT_TRUE(loadBankFile(file, back));
    EXPECT_EQ(back, banks);
}

TEST_F(BankFile, missing_or_short_file_leaves_banks_alone) {
    SimulatedAdapter::Banks banks{};
    banks[1][2][5] = 9;
    const SimulatedAdapter::Banks before = banks;
    EXPECT_FALSE(loadBankFile(dir / "none.bin", banks));
    {
        std::ofstream out(dir / "short.bin", std::ios::binary);
        out << std::string(6143, '\x01');
    }
    EXPECT_FALSE(loadBankFile(dir / "short.bin", banks));
    EXPECT_EQ(banks, before);
}

TEST_F(BankFile, failed_save_keeps_the_previous_file) {
    SimulatedAdapter::Banks banks{};
    banks[0][0][0] = 1;
    const auto file = dir / "simulated-adapter.bin";
    ASSERT_TRUE(saveBankFile(file, banks));
    EXPECT_FALSE(saveBankFile(dir / "no-such-folder" / "x.bin", banks));
    // A folder in the file's place: the banks cannot be kept, and the folder stays.
    std::filesystem::create_directory(dir / "folder.bin");
    EXPECT_FALSE(saveBankFile(dir / "folder.bin", banks));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.bin"));
    SimulatedAdapter::Banks back{};
    ASSERT_TRUE(loadBankFile(file, back));
    EXPECT_EQ(back[0][0][0], 1);
}

TEST_F(BankFile, a_link_at_the_old_temporary_name_is_not_written_through) {
    const auto victim = dir / "victim";
    {
        std::ofstream out(victim, std::ios::binary);
        out << "keep";
    }
    std::filesystem::create_symlink(victim, dir / "simulated-adapter.bin.tmp");
    SimulatedAdapter::Banks banks{};
    banks[2][1][3] = 0x55;
    ASSERT_TRUE(saveBankFile(dir / "simulated-adapter.bin", banks));
    EXPECT_EQ(std::filesystem::file_size(victim), 4u);
    SimulatedAdapter::Banks back{};
    ASSERT_TRUE(loadBankFile(dir / "simulated-adapter.bin", back));
    EXPECT_EQ(back, banks);
}

// A FIFO in the file's place is refused at once; waiting on it would hang the demo before its window.
TEST_F(BankFile, a_fifo_in_the_files_place_is_not_waited_on) {
    const auto fifo = dir / "simulated-adapter.bin";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    SimulatedAdapter::Banks banks{};
    banks[0][1][2] = 3;
    const SimulatedAdapter::Banks before = banks;
    ::alarm(10);
    EXPECT_FALSE(loadBankFile(fifo, banks));
    ::alarm(0);
    EXPECT_EQ(banks, before);
    EXPECT_FALSE(saveBankFile(fifo, banks));
    EXPECT_TRUE(std::filesystem::is_fifo(std::filesystem::symlink_status(fifo)));
}

} // namespace
} // namespace zav
