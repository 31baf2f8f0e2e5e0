#include "cli/CliTool.h"
#include "device/BankFile.h"
#include "device/BankSetFile.h"
#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"
#include "pages/KeyTables.h"
#include "profiles/AdapterBanks.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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
        std::string p = (fs::temp_directory_path() / "zav-cli-XXXXXX").string();
        EXPECT_NE(::mkdtemp(p.data()), nullptr);
        dir = p;
        hw.setBanks(freshAdapterBanks());
        hw.setBank(1, 1, pattern(1));
        hw.setBank(2, 1, pattern(2));
    }
    ~Cli() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
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

    fs::path dir;
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
    ASSERT_EQ(run({"restore", at("all.zavbank")}), kExitOk) << err.str();
    EXPECT_EQ(hw.banks(), before);
    for (const char* bank :
         {"bank ps4: written", "bank ps3: written", "bank pc: written", "bank kbd: written"}) {
        EXPECT_NE(out.str().find(bank), std::string::npos) << out.str();
    }
    // Each bank it overwrote was kept first.
    EXPECT_EQ(backupCount(), 4u);
}

TEST_F(Cli, simulated_adapter_is_the_demos_bank_file_and_restore_last_undoes_the_last_write) {
    // No bank file yet: the adapter holds its fresh banks.
    ASSERT_EQ(run({"--simulated=moss", "export", "--mode", "ps3", at("Moss.zav4")}), kExitOk) << err.str();
    ASSERT_EQ(run({"--simulated", "backup", at("kite.zavbank")}), kExitOk) << err.str();
    ASSERT_TRUE(fs::exists(at("kite.zavbank")));

    // A KITE profile of another mode goes into the bank of that mode, slot 2.
    std::vector<std::uint8_t> rec(60, 0x11);
    ASSERT_TRUE(writeProfileFile(at("Sniper.zav4"), 1, rec, 2));
    ASSERT_EQ(run({"--simulated", "import", at("Sniper.zav4"), "--slot", "2"}), kExitOk) << err.str();
    SimulatedAdapter::Banks banks{};
    ASSERT_TRUE(loadBankFile(bankFile(), banks));
    const auto fresh = freshAdapterBanks();
    EXPECT_TRUE(std::equal(rec.begin(), rec.end(), banks[0][2].begin() + 60));
    EXPECT_TRUE(std::equal(banks[0][2].begin(), banks[0][2].begin() + 60, fresh[0][2].begin()))
        << "slot 1 kept";

    ASSERT_EQ(run({"--simulated", "restore", "--last"}), kExitOk) << err.str();
    ASSERT_TRUE(loadBankFile(bankFile(), banks));
    EXPECT_EQ(banks, fresh);
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

TEST_F(Cli, a_read_that_fails_before_a_write_writes_nothing) {
    hw.plug(1);
    std::vector<std::uint8_t> rec(60, 0x22);
    ASSERT_TRUE(writeProfileFile(at("P.zav4"), 1, rec, 1));
    ASSERT_EQ(run({"backup", at("all.zavbank")}), kExitOk);
    const auto before = hw.banks();
    hw.dropReadChunkReply(7);
    hw.clearLog();
    EXPECT_EQ(run({"import", at("P.zav4")}), kExitFailed);
    EXPECT_EQ(run({"restore", at("all.zavbank")}), kExitFailed);
    EXPECT_NE(err.str().find("could not be read and kept"), std::string::npos) << err.str();
    EXPECT_EQ(writesSent(), 0);
    EXPECT_EQ(hw.banks(), before);
    EXPECT_EQ(backupCount(), 0u);
}

TEST_F(Cli, show_names_each_key_by_its_function_and_the_twelve_settings) {
    hw.plug(1);
    ASSERT_EQ(run({"export", "--mode", "ps4", at("Default.zav4")}), kExitOk);
    const std::uint8_t code = freshAdapterBanks()[0][0][0];
    const std::string label = wingdingsToUnicode(codeToLabel(1, 0, code));
    ASSERT_FALSE(label.empty());

    ASSERT_EQ(run({"show", at("Default.zav4"), "--json"}), kExitOk) << err.str();
    const std::string json = out.str();
    EXPECT_EQ(json.rfind("{\"model\": \"kite\", \"mode\": \"ps4\"", 0), 0u) << json;
    EXPECT_NE(json.find("{\"index\": 0, \"slot\": " + std::to_string(indexToSlot(1, 0)) +
                        ", \"code\": " + std::to_string(code) + ", \"label\": \"" + label + "\"}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"sensitivity\": 4}}"), std::string::npos) << json;

    ASSERT_EQ(run({"show", "--mode", "ps4", "--slot", "1"}), kExitOk) << err.str();
    EXPECT_NE(out.str().find("ZAV KITE, PlayStation 4, slot 1"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("  deadZoneNormal    7"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find(label), std::string::npos);
}

TEST_F(Cli, list_help_version_and_the_choice_among_two_adapters) {
    hw.plug(1);
    hw.addDevice(kVendorId, productIdForModel(3));
    hw.setCapability(5);
    ASSERT_EQ(run({"list"}), kExitOk);
    EXPECT_EQ(out.str(), "/dev/simulated-hidraw0\tZAV KITE\tmouse none\tcapability 0x05\n"
                         "/dev/simulated-hidraw1\tZAV FERN\tmouse none\tcapability 0x05\n");
    ASSERT_EQ(run({"--device", "/dev/simulated-hidraw1", "backup", at("fern.zavbank")}), kExitOk)
        << err.str();
    BankSet set;
    ASSERT_EQ(loadBankSet(at("fern.zavbank"), set), BankSetError::None);
    EXPECT_EQ(set.model, 3);
    EXPECT_EQ(set.node, "/dev/simulated-hidraw1");

    EXPECT_EQ(run({"--help"}), kExitOk);
    EXPECT_NE(out.str().find("restore FILE | --last"), std::string::npos);
    EXPECT_EQ(run({"--version"}), kExitOk);
    EXPECT_EQ(out.str().rfind("zavora-cli ", 0), 0u);
}

TEST_F(Cli, leaves_real_adapters_alone_while_the_window_runs) {
    hw.plug(1);
    std::vector<std::uint8_t> rec(60, 0x33);
    ASSERT_TRUE(writeProfileFile(at("P.zav4"), 1, rec, 0));
    windowUp = true;
    hw.clearLog();
    const auto before = hw.banks();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"list"}, {"import", at("P.zav4")}, {"backup", at("x.zavbank")}}) {
        EXPECT_EQ(run(args), kExitFailed) << args.front();
        EXPECT_NE(err.str().find("the Zavora window is running"), std::string::npos) << err.str();
    }
    EXPECT_TRUE(hw.frameCodes().empty());
    EXPECT_EQ(hw.banks(), before);
    // Files alone and the demo's adapter are no concern of the window's.
    EXPECT_EQ(run({"show", at("P.zav4")}), kExitOk) << err.str();
    EXPECT_EQ(run({"--simulated", "import", at("P.zav4")}), kExitOk) << err.str();
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
    putFile(at("foreign.zavbank"), std::vector<std::uint8_t>(2328, 'A'));
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
        std::function<void(SimulatedAdapter&)> setup;
    };
    auto kite = [](SimulatedAdapter& a) { a.plug(1); };
    const std::vector<Row> rows = {
        {{}, kExitUsage, "no command given", kite},
        {{"frobnicate"}, kExitUsage, "unknown command", kite},
        {{"list", "--force"}, kExitUsage, "unknown option", kite},
        {{"import", at("Kite.zav4"), "--slot", "4"}, kExitUsage, "--slot takes 1, 2 or 3", kite},
        {{"export", "--mode", "xbox", at("A.zav4")}, kExitUsage, "--mode takes", kite},
        {{"export", at("A.zav4")}, kExitUsage, "export needs --mode", kite},
        {{"list", "--mode", "ps4"}, kExitUsage, "list does not take --mode", kite},
        {{"restore"}, kExitUsage, "either a FILE or --last", kite},
        {{"restore", at("moss.zavbank"), "--last"}, kExitUsage, "either a FILE or --last", kite},
        {{"restore", at("cut.zavbank")}, kExitFailed, "is truncated", kite},
        {{"restore", at("damaged.zavbank")}, kExitFailed, "is damaged", kite},
        {{"restore", at("foreign.zavbank")}, kExitFailed, "is not a bank file", kite},
        {{"restore", at("missing.zavbank")}, kExitFailed, "cannot be read", kite},
        {{"restore", at("moss.zavbank")}, kExitFailed, "holds banks of a ZAV MOSS", kite},
        {{"restore", "--last"}, kExitFailed, "no bank of a ZAV KITE has been kept", kite},
        {{"import", at("Moss.zav4")}, kExitFailed, "is a profile of a ZAV MOSS", kite},
        {{"import", at("Cut.zav4")}, kExitFailed, "100 bytes instead of 128", kite},
        {{"import", at("moss.zavbank")}, kExitUsage, "no profile file name", kite},
        {{"import", at("Moss.zav4"), "--slot", "2"},
         kExitFailed,
         "has no slot 2",
         [](SimulatedAdapter& a) { a.plug(2); }},
        {{"export", "--mode", "ps4", at("CON.zav4")}, kExitUsage, "no profile file name", kite},
        {{"export", "--mode", "ps4", (fs::path(at("sub")) / "..zav4").string()},
         kExitUsage,
         "no profile file name",
         kite},
        {{"export", "--mode", "ps4", at("A.zav4"), at("B.zav4")}, kExitUsage, "takes no argument", kite},
        {{"show", at("Kite.zav4"), "--mode", "ps4"}, kExitUsage, "either a FILE.zav4 or --mode", kite},
        {{"backup", at("x.zavbank")},
         kExitFailed,
         "no adapter is attached",
         [](SimulatedAdapter& a) { a.unplug(); }},
        {{"backup", at("x.zavbank")},
         kExitUsage,
         "2 adapters are attached",
         [](SimulatedAdapter& a) {
             a.plug(1);
             a.addDevice(kVendorId, productIdForModel(1));
         }},
        {{"--device", "/dev/hidraw99", "backup", at("x.zavbank")},
         kExitFailed,
         "no adapter is attached at",
         kite},
        {{"backup", at("x.zavbank")},
         kExitFailed,
         "cannot be opened: access was denied",
         [](SimulatedAdapter& a) {
             a.plug(1);
             a.refuseOpen(true);
         }},
        {{"--simulated=xbox", "list"}, kExitUsage, "--simulated takes kite, moss or fern", kite},
        {{"--simulated", "--device", "/dev/x", "list"}, kExitUsage, "exclude each other", kite},
    };
    for (const Row& row : rows) {
        hw.clearFaults();
        row.setup(hw);
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
