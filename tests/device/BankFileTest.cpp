#include "device/BankFile.h"

#include <gtest/gtest.h>

#include <fstream>

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
    // A directory where the temporary file would go makes the save fail before the rename.
    std::filesystem::create_directory(dir / "simulated-adapter.bin.tmp");
    banks[0][0][0] = 2;
    EXPECT_FALSE(saveBankFile(file, banks));
    SimulatedAdapter::Banks back{};
    ASSERT_TRUE(loadBankFile(file, back));
    EXPECT_EQ(back[0][0][0], 1);
    EXPECT_FALSE(saveBankFile(dir / "no-such-folder" / "x.bin", banks));
}

} // namespace
} // namespace zav
