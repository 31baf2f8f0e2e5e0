#include "cli/CliTool.h"
#include "device/BankSetFile.h"
#include "device/HidApiBackend.h"
#include "tests/hidraw/HidrawTestbed.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace zav {
namespace {

namespace fs = std::filesystem;

ProfileImage pattern(int seed) {
    ProfileImage image{};
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 3 + static_cast<std::size_t>(seed) * 29);
    }
    return image;
}

// zavora-cli as main() sets it up, over hidapi's hidraw backend and the emulated nodes.
struct CliOverHidraw : ::testing::Test {
    CliOverHidraw() {
        std::string p = (fs::temp_directory_path() / "zav-cli-hidraw-XXXXXX").string();
        EXPECT_NE(::mkdtemp(p.data()), nullptr);
        dir = p;
    }
    ~CliOverHidraw() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        const CliEnvironment env{[] { return std::make_unique<HidApiBackend>(); },
                                 {},
                                 dir / "bank.bin",
                                 dir / "backups",
                                 out,
                                 err};
        return runCli(args, env);
    }
    HidrawTestbed bed;
    fs::path dir;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CliOverHidraw, backup_then_restore_gives_the_banks_back_byte_for_byte) {
    HidrawNode& node = bed.plugModel(3);
    for (int mode = 0; mode < 4; ++mode) {
        node.adapter().setBank(3, mode, pattern(mode));
    }
    ASSERT_EQ(run({"list"}), kExitOk) << err.str();
    EXPECT_EQ(out.str().rfind(node.devnode() + "\tZAV FERN\tmouse none\tcapability ", 0), 0u) << out.str();

    const std::string file = (dir / "fern.zavbank").string();
    ASSERT_EQ(run({"backup", file}), kExitOk) << err.str();
    for (int mode = 0; mode < 4; ++mode) {
        node.adapter().setBank(3, mode, ProfileImage{});
    }
    node.clearLog();
    ASSERT_EQ(run({"restore", file}), kExitOk) << err.str();
    for (int mode = 0; mode < 4; ++mode) {
        EXPECT_EQ(node.adapter().bank(3, mode), pattern(mode)) << mode;
    }
    const auto paths = node.outputPaths();
    EXPECT_TRUE(!paths.empty() && std::all_of(paths.begin(), paths.end(), [](HidrawNode::OutputPath p) {
        return p == HidrawNode::OutputPath::Ioctl;
    })) << "every frame goes as SET_REPORT";

    // What the restore overwrote was kept: --last puts the last bank back as it was, all zero.
    ASSERT_EQ(run({"restore", "--last"}), kExitOk) << err.str();
    EXPECT_EQ(node.adapter().bank(3, 3), ProfileImage{});
    EXPECT_EQ(node.adapter().bank(3, 2), pattern(2));
}

TEST_F(CliOverHidraw, two_adapters_need_device_and_a_foreign_file_writes_nothing) {
    HidrawNode& kite = bed.plugModel(1);
    HidrawNode& moss = bed.plugModel(2);
    const auto before = moss.adapter().banks();
    EXPECT_EQ(run({"backup", (dir / "x.zavbank").string()}), kExitUsage);
    EXPECT_NE(err.str().find("choose one with --device"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(dir / "x.zavbank"));

    ASSERT_EQ(run({"--device", kite.devnode(), "backup", (dir / "kite.zavbank").string()}), kExitOk)
        << err.str();
    moss.clearLog();
    EXPECT_EQ(run({"--device", moss.devnode(), "restore", (dir / "kite.zavbank").string()}), kExitFailed);
    EXPECT_NE(err.str().find("holds banks of a ZAV KITE, but the adapter is a ZAV MOSS"), std::string::npos)
        << err.str();
    EXPECT_EQ(moss.adapter().banks(), before);
    for (const auto& report : moss.writes()) {
        EXPECT_NE(report[2], 0x75) << "no write frame";
    }
}

} // namespace
} // namespace zav
