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
#include <sstream>

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
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 5 + static_cast<std::size_t>(seed) * 11);
    }
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
        const CliEnvironment env{[this] { return std::make_unique<Forward>(hw); },
                                 [this] { return windowUp; },
                                 bankFile(),
                                 backups(),
                                 out,
                                 err};
        return runCli(args, env);
    }
    fs::path bankFile() const { return dir / "share" / "zavora-demo" / "simulated-adapter.bin"; }
    fs::path backups() const { return dir / "state" / "zavora" / "backups"; }
    std::string at(const char* name) const { return (dir / name).string(); }
    std::size_t backupCount() const {
        std::error_code ec;
        return fs::exists(backups(), ec)
                   ? static_cast<std::size_t>(std::distance(fs::directory_iterator(backups()), {}))
                   : 0;
    }
    int writesSent() const {
        const auto codes = hw.frameCodes();
        return static_cast<int>(std::count(codes.begin(), codes.end(), cmd::kWrite));
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
    struct Row {
        int model;
        const char* mode;
        int modeNumber;
        const char* slot;
    };
    for (const Row& row : {Row{1, "ps3", 1, "2"}, Row{2, "ps3", 1, "1"}, Row{3, "kbd", 3, "3"}}) {
        hw.plug(row.model);
        hw.setBank(row.model, row.modeNumber, pattern(row.model));
        const ProfileImage before = hw.bank(row.model, row.modeNumber);
        const std::string file = at("Round.zav4");
        ASSERT_EQ(run({"export", "--mode", row.mode, "--slot", row.slot, file}), kExitOk) << err.str();
        EXPECT_EQ(fileBytes(file).size(), 128u);
        EXPECT_EQ(fileBytes(file)[127], row.model);

        hw.setBank(row.model, row.modeNumber, ProfileImage{});
        ASSERT_EQ(run({"import", file, "--slot", row.slot}), kExitOk) << err.str();
        const ProfileImage after = hw.bank(row.model, row.modeNumber);
        const int slot = row.slot[0] - '1';
        const auto size = static_cast<std::size_t>(recordSize(row.model));
        const auto from = static_cast<std::ptrdiff_t>(static_cast<std::size_t>(slot) * size);
        // The record comes back as the adapter held it (on the MOSS's PlayStation 3 bank with its
        // exchanged codes), the rest of the bank as the import found it.
        EXPECT_TRUE(std::equal(after.begin() + from, after.begin() + from + static_cast<std::ptrdiff_t>(size),
                               before.begin() + from))
            << "model " << row.model;
        EXPECT_TRUE(std::all_of(after.begin(), after.begin() + from, [](auto b) { return b == 0; }));
    }
}

// Every refusal explains itself on standard error and leaves the adapter, the demo's bank file and
// the backups as they were.
TEST_F(Cli, bad_input_is_refused_and_changes_nothing) {
    const BankSet moss{2, 0, 0, "x", {pattern(1)}};
    ASSERT_TRUE(saveBankSet(at("moss.zavbank"), moss));
    const auto good = *encodeBankSet(BankSet{1, 0, 0, "x", {pattern(1), pattern(2)}});
    putFile(at("cut.zavbank"), {good.begin(), good.end() - 10});
    auto damaged = good;
    damaged[400] ^= 1;
    putFile(at("damaged.zavbank"), damaged);
    std::vector<std::uint8_t> mossRecord(55, 1);
    ASSERT_TRUE(writeProfileFile(at("Moss.zav4"), 2, mossRecord, 0));
    auto cutProfile = fileBytes(at("Moss.zav4"));
    cutProfile[127] = 1;
    cutProfile.resize(100);
    putFile(at("Cut.zav4"), cutProfile);
    std::vector<std::uint8_t> kiteRecord(60, 1);
    ASSERT_TRUE(writeProfileFile(at("Kite.zav4"), 1, kiteRecord, 0));

    struct Row {
        std::vector<std::string> args;
        int exit;
        std::string says;
        std::function<void()> setup;
    };
    const auto kite = [] {}; // the KITE plugged in
    const std::vector<Row> rows = {
        {{}, kExitUsage, "no command given", kite},
        {{"import", at("Kite.zav4"), "--slot", "4"}, kExitUsage, "--slot takes 1, 2 or 3", kite},
        {{"restore", at("cut.zavbank")}, kExitFailed, "is truncated", kite},
        {{"restore", at("damaged.zavbank")}, kExitFailed, "is damaged", kite},
        {{"restore", at("moss.zavbank")}, kExitFailed, "holds banks of a ZAV MOSS", kite},
        {{"restore", "--last"}, kExitFailed, "no bank of a ZAV KITE has been kept", kite},
        {{"import", at("Moss.zav4")}, kExitFailed, "is a profile of a ZAV MOSS", kite},
        {{"import", at("Cut.zav4")}, kExitFailed, "100 bytes instead of 128", kite},
        {{"import", at("Moss.zav4"), "--slot", "2"}, kExitFailed, "has no slot 2", [this] { hw.plug(2); }},
        {{"export", "--mode", "ps4", at("CON.zav4")}, kExitUsage, "no profile file name", kite},
        {{"backup", at("x.zavbank")}, kExitFailed, "no adapter is attached", [this] { hw.unplug(); }},
        {{"backup", at("x.zavbank")},
         kExitUsage,
         "2 adapters are attached",
         [this] { hw.addDevice(kVendorId, productIdForModel(1)); }},
        {{"backup", at("x.zavbank")}, kExitFailed, "access was denied", [this] { hw.refuseOpen(true); }},
        // A bank that cannot be read and kept first is not written.
        {{"import", at("Kite.zav4")},
         kExitFailed,
         "nothing was written",
         [this] { hw.dropReadChunkReply(7); }},
        // Real adapters are the window's while it runs.
        {{"import", at("Kite.zav4")},
         kExitFailed,
         "the Zavora window is running",
         [this] { windowUp = true; }},
        {{"list"}, kExitFailed, "the Zavora window is running", [this] { windowUp = true; }},
    };
    for (const Row& row : rows) {
        hw.clearFaults();
        windowUp = false;
        hw.plug(1);
        row.setup();
        hw.clearLog();
        const auto before = hw.banks();
        std::string line;
        for (const auto& a : row.args) {
            line += " " + a;
        }
        EXPECT_EQ(run(row.args), row.exit) << line;
        EXPECT_NE(err.str().find(row.says), std::string::npos) << line << "\n" << err.str();
        EXPECT_EQ(err.str().rfind("zavora-cli: ", 0), 0u) << line;
        EXPECT_TRUE(out.str().empty()) << line << "\n" << out.str();
        EXPECT_EQ(writesSent(), 0) << line;
        EXPECT_EQ(hw.banks(), before) << line;
        EXPECT_FALSE(fs::exists(bankFile())) << line;
        EXPECT_EQ(backupCount(), 0u) << line;
        EXPECT_FALSE(fs::exists(at("x.zavbank")) || fs::exists(at("A.zav4")) || fs::exists(at("CON.zav4")))
            << line;
    }
}

} // namespace
} // namespace zav
