#include "cli/CliTool.h"
#include "device/BankFile.h"
#include "device/BankSetFile.h"
#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"
#include "pages/KeyTables.h"
#include "profiles/AdapterBanks.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileRecord.h"
#include "tests/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numeric>
#include <sstream>
#include <tuple>

namespace zav {
namespace {

namespace fs = std::filesystem;

// The adapters "on the bus", shared with the tool, which owns only this view of them.
class Forward : public HidBackend {
public:
    explicit Forward(HidBackend& inner) : inner_(inner) {}
    std::vector<HidDeviceInfo> enumerate() override { return inner_.enumerate(); }
    std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) override { return inner_.open(info); }

private:
    HidBackend& inner_;
};

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void putFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

ProfileImage pattern(int seed) {
    ProfileImage image{};
    std::iota(image.begin(), image.end(), static_cast<std::uint8_t>(seed * 11));
    return image;
}

struct Cli : ::testing::Test {
    Cli() {
        hw.setBanks(freshAdapterBanks());
        hw.setBank(1, 1, pattern(1));
        hw.setBank(2, 1, pattern(2));
    }
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return runCli(args, {[this] { return std::make_unique<Forward>(hw); }, [this] { return windowUp; },
                             bankFile(), backups(), out, err});
    }
    fs::path bankFile() const { return dir / "share" / "zavora-demo" / "simulated-adapter.bin"; }
    fs::path backups() const { return dir / "state" / "zavora" / "backups"; }
    std::string at(const char* name) const { return (dir / name).string(); }
    std::size_t backupCount() const {
        std::error_code ec;
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(backups(), ec), {}));
    }

    test::ScratchFolder scratch;
    const fs::path& dir = scratch.path();
    bool windowUp = false;
    SimulatedAdapter hw;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(Cli, backup_then_restore_gives_every_bank_back_byte_for_byte) {
    hw.plug(1);
    const auto before = hw.banks();
    ASSERT_EQ(run({"backup", at("all.zavbank")}), kExitOk) << err.str();
    BankSet set;
    ASSERT_EQ(loadBankSet(at("all.zavbank"), set), BankSetError::None);
    EXPECT_EQ(set.model, 1);
    ASSERT_EQ(set.banks.size(), 4u);

    for (int mode = 0; mode < 4; ++mode) {
        hw.setBank(1, mode, pattern(10 + mode));
    }
    const auto changed = hw.banks();
    ASSERT_EQ(run({"restore", at("all.zavbank")}), kExitOk) << err.str();
    EXPECT_EQ(hw.banks(), before);
    EXPECT_NE(out.str().find("bank kbd: written"), std::string::npos) << out.str();
    // Each bank it overwrote was kept first; restore --last puts the last one back.
    EXPECT_EQ(backupCount(), 4u);
    ASSERT_EQ(run({"restore", "--last"}), kExitOk) << err.str();
    EXPECT_NE(hw.banks(), before);
    EXPECT_EQ(hw.bank(1, 3), changed[0][3]);
}

TEST_F(Cli, export_then_import_round_trips_on_every_model) {
    for (const auto& [model, mode, modeNumber, slot] :
         std::initializer_list<std::tuple<int, const char*, int, const char*>>{
             {1, "ps3", 1, "2"}, {2, "ps3", 1, "1"}, {3, "kbd", 3, "3"}}) {
        hw.plug(model);
        hw.setBank(model, modeNumber, pattern(model));
        const ProfileImage before = hw.bank(model, modeNumber);
        const std::string file = at("Round.zav4");
        ASSERT_EQ(run({"export", "--mode", mode, "--slot", slot, file}), kExitOk) << err.str();
        EXPECT_EQ(fileBytes(file).size(), 128u);
        EXPECT_EQ(fileBytes(file)[127], model);

        hw.setBank(model, modeNumber, ProfileImage{});
        ASSERT_EQ(run({"import", file, "--slot", slot}), kExitOk) << err.str();
        const ProfileImage after = hw.bank(model, modeNumber);
        const auto size = static_cast<std::ptrdiff_t>(recordSize(model));
        const auto from = (slot[0] - '1') * size;
        // The record comes back as the adapter held it (MOSS PS3 codes exchanged), the rest untouched.
        EXPECT_TRUE(std::equal(after.begin() + from, after.begin() + from + size, before.begin() + from))
            << model;
        EXPECT_TRUE(std::all_of(after.begin(), after.begin() + from, [](auto b) { return b == 0; }));
    }
}

// Every refusal explains itself on standard error and leaves adapter, bank file and backups alone.
TEST_F(Cli, bad_input_is_refused_and_changes_nothing) {
    ASSERT_TRUE(saveBankSet(at("moss.zavbank"), BankSet{2, 0, 0, "x", {pattern(1)}}));
    const auto good = *encodeBankSet(BankSet{1, 0, 0, "x", {pattern(1), pattern(2)}});
    putFile(at("cut.zavbank"), {good.begin(), good.end() - 10});
    auto damaged = good;
    damaged[400] ^= 1;
    putFile(at("damaged.zavbank"), damaged);
    ASSERT_TRUE(writeProfileFile(at("Moss.zav4"), 2, std::vector<std::uint8_t>(55, 1), 0));
    auto cutProfile = fileBytes(at("Moss.zav4"));
    cutProfile[127] = 1;
    cutProfile.resize(100);
    putFile(at("Cut.zav4"), cutProfile);
    ASSERT_TRUE(writeProfileFile(at("Kite.zav4"), 1, std::vector<std::uint8_t>(60, 1), 0));

    struct Row {
        std::vector<std::string> args;
        int exit;
        std::string says;
        std::function<void()> setup = [] {}; // the KITE plugged in
    };
    const auto window = [this] { windowUp = true; }; // real adapters are the window's while it runs
    const auto twoAdapters = [this] { hw.addDevice(kVendorId, productIdForModel(1)); };
    const auto noReadBack = [this] { hw.dropReadChunkReply(7); }; // what cannot be kept first is not written
    const std::vector<Row> rows = {
        {{}, kExitUsage, "no command given"},
        {{"import", at("Kite.zav4"), "--slot", "4"}, kExitUsage, "--slot takes 1, 2 or 3"},
        {{"restore", at("cut.zavbank")}, kExitFailed, "is truncated"},
        {{"restore", at("damaged.zavbank")}, kExitFailed, "is damaged"},
        {{"restore", at("moss.zavbank")}, kExitFailed, "holds banks of a ZAV MOSS"},
        {{"restore", "--last"}, kExitFailed, "no bank of a ZAV KITE has been kept"},
        {{"import", at("Moss.zav4")}, kExitFailed, "is a profile of a ZAV MOSS"},
        {{"import", at("Cut.zav4")}, kExitFailed, "100 bytes instead of 128"},
        {{"import", at("Moss.zav4"), "--slot", "2"}, kExitFailed, "has no slot 2", [this] { hw.plug(2); }},
        {{"export", "--mode", "ps4", at("CON.zav4")}, kExitUsage, "no profile file name"},
        {{"backup", at("x.zavbank")}, kExitFailed, "no adapter is attached", [this] { hw.unplug(); }},
        {{"backup", at("x.zavbank")}, kExitUsage, "2 adapters are attached", twoAdapters},
        {{"backup", at("x.zavbank")}, kExitFailed, "access was denied", [this] { hw.refuseOpen(true); }},
        {{"import", at("Kite.zav4")}, kExitFailed, "nothing was written", noReadBack},
        {{"import", at("Kite.zav4")}, kExitFailed, "the Zavora window is running", window},
        {{"list"}, kExitFailed, "the Zavora window is running", window},
    };
    for (const Row& row : rows) {
        hw.clearFaults();
        windowUp = false;
        hw.plug(1);
        row.setup();
        hw.clearLog();
        const auto before = hw.banks();
        const std::string line = testing::PrintToString(row.args);
        EXPECT_EQ(run(row.args), row.exit) << line;
        EXPECT_NE(err.str().find(row.says), std::string::npos) << line << "\n" << err.str();
        EXPECT_EQ(err.str().rfind("zavora-cli: ", 0), 0u) << line;
        EXPECT_TRUE(out.str().empty()) << line << "\n" << out.str();
        EXPECT_EQ(std::ranges::count(hw.frameCodes(), cmd::kWrite), 0) << line;
        EXPECT_EQ(hw.banks(), before) << line;
        EXPECT_FALSE(fs::exists(bankFile())) << line;
        EXPECT_EQ(backupCount(), 0u) << line;
        EXPECT_FALSE(fs::exists(at("x.zavbank")) || fs::exists(at("A.zav4")) || fs::exists(at("CON.zav4")))
            << line;
    }
}

} // namespace
} // namespace zav
