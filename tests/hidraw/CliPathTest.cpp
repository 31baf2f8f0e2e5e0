#include "cli/CliTool.h"
#include "device/HidApiBackend.h"
#include "tests/ScratchFolder.h"
#include "tests/device/GoldenFrames.h"
#include "tests/hidraw/HidrawTestbed.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zav {
namespace {

// zavora-cli as main() sets it up, over hidapi's hidraw backend and the emulated nodes.
struct CliOverHidraw : ::testing::Test {
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
    test::ScratchFolder dir;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CliOverHidraw, the_chosen_adapters_banks_are_backed_up_and_restored_byte_for_byte) {
    HidrawNode& kite = bed.plugModel(1);
    HidrawNode& fern = bed.plugModel(3);
    for (int mode = 0; mode < 4; ++mode) {
        fern.adapter().setBank(3, mode, test::pattern(mode));
    }
    EXPECT_EQ(run({"backup", (dir / "x.zavbank").string()}), kExitUsage); // two adapters: which one?
    const std::string file = (dir / "fern.zavbank").string();
    ASSERT_EQ(run({"--device", fern.devnode(), "backup", file}), kExitOk) << err.str();
    for (int mode = 0; mode < 4; ++mode) {
        fern.adapter().setBank(3, mode, ProfileImage{});
    }
    fern.clearLog();
    ASSERT_EQ(run({"--device", fern.devnode(), "restore", file}), kExitOk) << err.str();
    for (int mode = 0; mode < 4; ++mode) {
        EXPECT_EQ(fern.adapter().bank(3, mode), test::pattern(mode)) << mode;
    }
    for (const HidrawNode::Output& output : fern.outputs()) {
        EXPECT_EQ(output.path, HidrawNode::OutputPath::Ioctl);
    }
    EXPECT_EQ(kite.opens(), 0);
}

} // namespace
} // namespace zav
