#include "cli/CliTool.h"

#include "device/BackupStore.h"
#include "device/BankFile.h"
#include "device/BankSetFile.h"
#include "device/DeviceLink.h"
#include "device/SafeFile.h"
#include "device/SimulatedAdapter.h"
#include "pages/KeyTables.h"
#include "profiles/AdapterBanks.h"
#include "profiles/AdapterTransfer.h"
#include "profiles/ModelDescription.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileName.h"
#include "profiles/ProfileRecord.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string_view>

#ifndef ZAVORA_VERSION
#define ZAVORA_VERSION "0"
#endif

namespace zav {
namespace {

constexpr std::array<std::string_view, 4> kModeKeys = {"ps4", "ps3", "pc", "kbd"};
constexpr std::array<std::string_view, 4> kModeNames = {"PlayStation 4", "PlayStation 3", "PC pad",
                                                        "keyboard"};
constexpr std::array<std::string_view, record::kSettingsCount> kSettingNames = {
    "deadZoneNormal", "deadZoneAds", "accelXNormal", "accelYNormal", "accelXAds", "accelYAds",
    "snipeX",         "snipeY",      "walkSpeed",    "backLightOff", "adsLock",   "sensitivity"};

constexpr std::string_view kUsage =
    R"(Usage: zavora-cli [--simulated[=kite|moss|fern]] [--device NODE] COMMAND ...

Commands:
  list                                  the attached adapters: node, model, mouse, capability byte
  backup [FILE]                         all four mode banks of the adapter into one file
  restore FILE | --last                 write the banks of FILE, or the bank as it was before the last
                                        write, each read back and reported
  export --mode M [--slot N] FILE.zav4  a profile slot of the adapter into a profile file
  import FILE.zav4 [--slot N]           a profile file into the bank of its own mode
  show FILE.zav4 | --mode M [--slot N] [--json]
                                        the key slots and the twelve settings of a profile

Options:
  --simulated[=MODEL]  use the simulated adapter of zavora-demo (its bank file); KITE unless named
  --device NODE        the adapter to use when more than one is attached (see list)
  --mode M             ps4, ps3, pc or kbd
  --slot N             profile slot 1, 2 or 3 (1 on the MOSS); 1 when not given
  --json               show prints JSON
  --help, --version

Before any bank is written, the bank as the adapter holds it is kept in
$XDG_STATE_HOME/zavora/backups (~/.local/state/zavora/backups).
Exit status: 0 success, 1 failure (explained on standard error), 2 bad usage.
)";

struct Options {
    std::string command;
    std::vector<std::string> positional;
    std::optional<int> simulatedModel;
    std::optional<std::string> device;
    std::optional<int> mode;
    std::optional<int> slot; // 0-based
    bool last = false;
    bool json = false;
    bool help = false;
    bool version = false;
    std::set<std::string> given; // option names, for the per-command check
};

struct UsageError {
    std::string message;
};

int indexOf(auto table, std::string_view key) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i] == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The model whose key ("kite") this is; 0 for none.
int modelForKey(std::string_view key) {
    for (const ModelDescription& m : modelDescriptions()) {
        if (m.key == key) {
            return m.model;
        }
    }
    return 0;
}

std::string_view modelKey(int model) {
    const ModelDescription* m = modelDescription(model);
    return m != nullptr ? m->key : std::string_view();
}

Options parse(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string name = a;
        std::optional<std::string> value;
        if (a.starts_with("--") && a.find('=') != std::string::npos) {
            name = a.substr(0, a.find('='));
            value = a.substr(a.find('=') + 1);
        }
        auto takeValue = [&]() -> std::string {
            if (value) {
                return *value;
            }
            if (i + 1 >= args.size()) {
                throw UsageError{name + " needs a value"};
            }
            return args[++i];
        };
        if (name == "--help" || name == "-h") {
            o.help = true;
        } else if (name == "--version") {
            o.version = true;
        } else if (name == "--simulated") {
            const int model = value ? modelForKey(*value) : models::kKite;
            if (model == 0) {
                throw UsageError{"--simulated takes kite, moss or fern, not '" + *value + "'"};
            }
            o.simulatedModel = model;
        } else if (name == "--device") {
            o.device = takeValue();
        } else if (name == "--mode") {
            const std::string m = takeValue();
            const int mode = indexOf(kModeKeys, m);
            if (mode < 0) {
                throw UsageError{"--mode takes ps4, ps3, pc or kbd, not '" + m + "'"};
            }
            o.mode = mode;
        } else if (name == "--slot") {
            const std::string s = takeValue();
            if (s != "1" && s != "2" && s != "3") {
                throw UsageError{"--slot takes 1, 2 or 3, not '" + s + "'"};
            }
            o.slot = s[0] - '1';
        } else if (name == "--last" && !value) {
            o.last = true;
        } else if (name == "--json" && !value) {
            o.json = true;
        } else if (a.starts_with("-") && a != "-") {
            throw UsageError{"unknown option '" + a + "'"};
        } else if (o.command.empty()) {
            o.command = a;
            continue;
        } else {
            o.positional.push_back(a);
            continue;
        }
        o.given.insert(name == "-h" ? "--help" : name);
    }
    return o;
}

// The options each command takes beside --simulated and --device.
void checkOptions(const Options& o, std::set<std::string> allowed, std::size_t minArgs, std::size_t maxArgs) {
    allowed.insert({"--simulated", "--device"});
    for (const std::string& name : o.given) {
        if (allowed.count(name) == 0) {
            throw UsageError{o.command + " does not take " + name};
        }
    }
    if (o.positional.size() < minArgs) {
        throw UsageError{o.command + " needs a file"};
    }
    if (o.positional.size() > maxArgs) {
        throw UsageError{o.command + " takes no argument '" + o.positional[maxArgs] + "'"};
    }
}

// A profile file the tool writes or reads is named as the window names profiles, so that the window
// lists it: FILE.zav4 whose name is a valid profile name.
void checkProfileName(const std::string& file) {
    const std::filesystem::path path(file);
    const std::string name = path.filename().string();
    if (!name.ends_with(".zav4") || !validProfileName(name.substr(0, name.size() - 5))) {
        throw UsageError{"'" + file +
                         "' is no profile file name: NAME.zav4, where NAME is a valid profile name"};
    }
}

// One adapter out of a backend's devices, for --device and for list.
class OneDevice : public HidBackend {
public:
    OneDevice(HidBackend& inner, std::string path) : inner_(inner), path_(std::move(path)) {}
    std::vector<HidDeviceInfo> enumerate() override {
        std::vector<HidDeviceInfo> found;
        for (const HidDeviceInfo& info : inner_.enumerate()) {
            if (info.path == path_) {
                found.push_back(info);
            }
        }
        return found;
    }
    std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) override { return inner_.open(info); }

private:
    HidBackend& inner_;
    std::string path_;
};

std::vector<HidDeviceInfo> adaptersOf(HidBackend& backend) {
    std::vector<HidDeviceInfo> found;
    for (const HidDeviceInfo& info : backend.enumerate()) {
        if (info.vendorId == kVendorId && modelForProductId(info.productId) != 0) {
            found.push_back(info);
        }
    }
    return found;
}

struct Failure {
    std::string message;
};

// The backend the options ask for, and the links opened over it.
class Session {
public:
    Session(const Options& o, const CliEnvironment& env) : options_(o), env_(env) {}

    HidBackend& backend() {
        if (backend_ != nullptr) {
            return *backend_;
        }
        if (options_.simulatedModel) {
            simulated_ = std::make_unique<SimulatedAdapter>();
            SimulatedAdapter::Banks banks = freshAdapterBanks();
            // A missing file is an adapter that was never written: its fresh banks.
            std::error_code ec;
            if (std::filesystem::exists(env_.simulatedBankFile, ec) &&
                !loadBankFile(env_.simulatedBankFile, banks)) {
                throw Failure{"the simulated adapter's bank file " + env_.simulatedBankFile.string() +
                              " cannot be read"};
            }
            simulated_->setBanks(banks);
            simulated_->setLogging(false);
            const std::filesystem::path file = env_.simulatedBankFile;
            simulated_->setCommitListener([file](const SimulatedAdapter::Banks& now) {
                std::error_code ec2;
                std::filesystem::create_directories(file.parent_path(), ec2);
                return saveBankFile(file, now);
            });
            simulated_->plug(*options_.simulatedModel);
            backend_ = simulated_.get();
        } else {
            if (!env_.hidBackend) {
                throw Failure{"no HID backend in this build"};
            }
            if (env_.windowRunning && env_.windowRunning()) {
                throw Failure{"the Zavora window is running and talks to the adapter; close it first"};
            }
            hid_ = env_.hidBackend();
            backend_ = hid_.get();
        }
        return *backend_;
    }

    // The one adapter the command works on, opened and identified.
    DeviceLink& link() {
        if (link_) {
            return *link_;
        }
        const auto adapters = adaptersOf(backend());
        std::string path;
        if (options_.device) {
            path = *options_.device;
            bool listed = false;
            for (const auto& a : adapters) {
                listed = listed || a.path == path;
            }
            if (!listed) {
                throw Failure{"no adapter is attached at " + path + " (zavora-cli list shows the adapters)"};
            }
        } else if (adapters.empty()) {
            throw Failure{"no adapter is attached"};
        } else if (adapters.size() > 1) {
            std::string nodes;
            for (const auto& a : adapters) {
                nodes += " " + a.path;
            }
            throw UsageError{std::to_string(adapters.size()) + " adapters are attached (" + nodes.substr(1) +
                             "); choose one with --device NODE"};
        } else {
            path = adapters.front().path;
        }
        filter_ = std::make_unique<OneDevice>(backend(), path);
        link_ = std::make_unique<DeviceLink>(*filter_);
        if (!link_->OpenAndIdentify() || !link_->isOpen()) {
            throw Failure{
                "the adapter at " + path +
                " cannot be opened: access was denied (install the udev rule 70-zavora.rules and plug "
                "the adapter in again)"};
        }
        return *link_;
    }

private:
    const Options& options_;
    const CliEnvironment& env_;
    std::unique_ptr<SimulatedAdapter> simulated_;
    std::unique_ptr<HidBackend> hid_;
    HidBackend* backend_ = nullptr;
    std::unique_ptr<OneDevice> filter_;
    std::unique_ptr<DeviceLink> link_;
};

std::string modelName(int model) {
    const ModelDescription* m = modelDescription(model);
    return m != nullptr ? std::string(m->name) : "unknown";
}

std::string modeKey(int mode) {
    return mode >= 0 && mode < 4 ? std::string(kModeKeys[static_cast<std::size_t>(mode)])
                                 : std::to_string(mode);
}

const char* outcomeText(WriteOutcome outcome) {
    switch (outcome) {
    case WriteOutcome::Complete:
        return "written and read back as sent";
    case WriteOutcome::Failed:
        return "not written: the adapter refused or broke off the write";
    case WriteOutcome::Differs:
        return "written, but the records read back differ from what was sent";
    case WriteOutcome::ReadBackFailed:
        return "written, but the check read failed; run the command again";
    case WriteOutcome::OtherModel:
        return "not written: the adapter attached is another model";
    case WriteOutcome::NotKept:
        return "not written: the bank could not be read and kept first";
    }
    return "not written";
}

std::string hex2(unsigned value) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "0x%02X", value & 0xFFU);
    return text.data();
}

std::string jsonString(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            std::array<char, 8> esc{};
            std::snprintf(esc.data(), esc.size(), "\\u%04x", u);
            out += esc.data();
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// --- commands ------------------------------------------------------------------------------------

int list(Session& session, const CliEnvironment& env) {
    HidBackend& backend = session.backend();
    for (const HidDeviceInfo& info : adaptersOf(backend)) {
        OneDevice one(backend, info.path);
        DeviceLink link(one);
        const int model = modelForProductId(info.productId);
        if (!link.OpenAndIdentify() || !link.isOpen()) {
            env.out << info.path << "\t" << modelName(model) << "\taccess denied\n";
            continue;
        }
        static constexpr std::array<const char*, 3> kMice = {"none", "ordinary", "own"};
        const auto capability = link.capability();
        env.out << info.path << "\t" << modelName(link.model()) << "\tmouse "
                << kMice[static_cast<std::size_t>(link.mouseKind())] << "\tcapability "
                << (capability ? hex2(*capability) : std::string("unknown")) << "\n";
    }
    return kExitOk;
}

int backup(Session& session, const Options& o, const CliEnvironment& env) {
    DeviceLink& link = session.link();
    std::filesystem::path file;
    if (!o.positional.empty()) {
        file = o.positional.front();
    } else {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        std::array<char, 32> stamp{};
        std::strftime(stamp.data(), stamp.size(), "%Y%m%d-%H%M%S", &local);
        file = "zavora-" + std::string(modelKey(link.model())) + "-" + stamp.data() + ".zavbank";
    }
    const std::optional<BankSet> set = readAdapterBanks(link);
    if (!set) {
        throw Failure{"the adapter's banks did not arrive whole; nothing was written"};
    }
    if (!saveBankSet(file, *set)) {
        throw Failure{"cannot write " + file.string()};
    }
    env.out << "Kept the four banks of the " << modelName(set->model) << " at " << set->node << " in "
            << file.string() << "\n";
    return kExitOk;
}

int reportWrites(const std::vector<BankWritten>& written, const CliEnvironment& env) {
    bool allDone = true;
    for (const BankWritten& w : written) {
        (w.outcome == WriteOutcome::Complete ? env.out : env.err)
            << "bank " << modeKey(w.mode) << ": " << outcomeText(w.outcome) << "\n";
        allDone = allDone && w.outcome == WriteOutcome::Complete;
    }
    return allDone ? kExitOk : kExitFailed;
}

int restore(Session& session, const Options& o, const CliEnvironment& env) {
    if (o.last == !o.positional.empty()) {
        throw UsageError{"restore needs either a FILE or --last"};
    }
    BackupStore store(env.backupFolder);
    // The file stays while it is restored, even when it is one of the backups that the writes prune.
    std::optional<BackupStore::Reading> reading;
    BankSet set;
    auto load = [&](const std::filesystem::path& file) {
        reading.emplace(store, file);
        const BankSetError error = loadBankSet(file, set);
        if (error != BankSetError::None) {
            throw Failure{file.string() + " " + describe(error) + "; nothing was written"};
        }
        return file;
    };
    std::filesystem::path file;
    if (!o.last) {
        file = load(o.positional.front());
    }
    DeviceLink& link = session.link();
    if (o.last) {
        const auto latest = store.latest(link.model());
        if (!latest) {
            throw Failure{"no bank of a " + modelName(link.model()) + " has been kept in " +
                          store.folder().string() + " yet"};
        }
        file = load(*latest);
    }
    if (set.model != link.model()) {
        throw Failure{file.string() + " holds banks of a " + modelName(set.model) +
                      ", but the adapter is a " + modelName(link.model()) + "; nothing was written"};
    }
    env.out << "Restoring " << file.string() << "\n";
    return reportWrites(restoreBanks(link, store, set), env);
}

int exportCommand(Session& session, const Options& o, const CliEnvironment& env) {
    if (!o.mode) {
        throw UsageError{"export needs --mode"};
    }
    checkProfileName(o.positional.front());
    DeviceLink& link = session.link();
    const int slot = o.slot.value_or(0);
    switch (exportProfile(link, *o.mode, slot, o.positional.front())) {
    case TransferError::None:
        env.out << "Wrote slot " << slot + 1 << " of bank " << modeKey(*o.mode) << " into "
                << o.positional.front() << "\n";
        return kExitOk;
    case TransferError::BadSlot:
        throw Failure{"the " + modelName(link.model()) + " has no slot " + std::to_string(slot + 1)};
    case TransferError::ReadFailed:
        throw Failure{"the adapter's bank did not arrive whole; nothing was written"};
    default:
        throw Failure{"cannot write " + o.positional.front()};
    }
}

// A profile file as the tool accepts it: exactly 128 bytes, a known model, a mode 0..3. Its model.
int checkedProfileFile(const std::string& file) {
    const auto bytes = readRegularFile(file, kProfileFileSize + 1, FollowLink::Yes);
    if (!bytes) {
        throw Failure{file + " cannot be read"};
    }
    if (bytes->size() != kProfileFileSize) {
        throw Failure{file + " is not a profile file: it has " + std::to_string(bytes->size()) +
                      " bytes instead of 128"};
    }
    const int model = (*bytes)[profilefile::kModelMarker];
    if (model < 1 || model > 3) {
        throw Failure{file + " is not a profile file of a ZAV KITE, MOSS or FERN"};
    }
    static constexpr std::array<std::size_t, 3> kModeAt = {profilefile::kKiteMode, profilefile::kMossMode,
                                                           profilefile::kFernMode};
    if ((*bytes)[kModeAt[static_cast<std::size_t>(model - 1)]] >= kAssignModeCount) {
        throw Failure{file + " names no mode the adapter has"};
    }
    return model;
}

int importCommand(Session& session, const Options& o, const CliEnvironment& env) {
    const std::string& file = o.positional.front();
    const int fileModel = checkedProfileFile(file);
    DeviceLink& link = session.link();
    if (fileModel != link.model()) {
        throw Failure{file + " is a profile of a " + modelName(fileModel) + ", but the adapter is a " +
                      modelName(link.model()) + "; nothing was written"};
    }
    BackupStore store(env.backupFolder);
    int mode = 0;
    WriteOutcome outcome = WriteOutcome::Failed;
    const int slot = o.slot.value_or(0);
    switch (importProfile(link, store, file, slot, mode, outcome)) {
    case TransferError::None:
        return reportWrites({{mode, outcome}}, env);
    case TransferError::BadSlot:
        throw Failure{"the " + modelName(link.model()) + " has no slot " + std::to_string(slot + 1)};
    case TransferError::ReadFailed:
        throw Failure{"the adapter's bank did not arrive whole; nothing was written"};
    default:
        throw Failure{file + " cannot be used; nothing was written"};
    }
}

int show(Session& session, const Options& o, const CliEnvironment& env) {
    if (o.mode.has_value() == !o.positional.empty()) {
        throw UsageError{"show needs either a FILE.zav4 or --mode"};
    }
    int model = 0;
    int mode = 0;
    const int slot = o.slot.value_or(0);
    std::vector<std::uint8_t> rec;
    std::string source;
    if (!o.positional.empty()) {
        source = o.positional.front();
        model = checkedProfileFile(source);
        rec.resize(static_cast<std::size_t>(recordSize(model)));
        int marker = 0;
        if (!readProfileFile(source, model, rec, mode, marker)) {
            throw Failure{source + " cannot be read"};
        }
    } else {
        DeviceLink& link = session.link();
        model = link.model();
        mode = *o.mode;
        if (slot >= profileSlotCount(model)) {
            throw Failure{"the " + modelName(model) + " has no slot " + std::to_string(slot + 1)};
        }
        const std::optional<ProfileImage> bank = link.ReadBankImage(model, mode);
        if (!bank) {
            throw Failure{"the adapter's bank did not arrive whole"};
        }
        const auto r = recordAt(*bank, model, slot);
        rec.assign(r.begin(), r.end());
        source = link.identity().path;
    }
    struct Key {
        int index;
        int slot;
        unsigned code;
        std::string label;
    };
    std::vector<Key> keys;
    for (int index = 0; index < keyBlockSize(model); ++index) {
        const std::uint8_t code = keyCode(rec, model, index);
        keys.push_back(
            {index, indexToSlot(model, index), code, wingdingsToUnicode(codeToLabel(model, mode, code))});
    }
    if (o.json) {
        env.out << "{\"model\": " << jsonString(modelKey(model))
                << ", \"mode\": " << jsonString(modeKey(mode));
        if (o.positional.empty()) {
            env.out << ", \"slot\": " << slot + 1;
        }
        env.out << ", \"keys\": [";
        for (std::size_t i = 0; i < keys.size(); ++i) {
            env.out << (i == 0 ? "" : ", ") << "{\"index\": " << keys[i].index
                    << ", \"slot\": " << keys[i].slot << ", \"code\": " << keys[i].code
                    << ", \"label\": " << jsonString(keys[i].label) << "}";
        }
        env.out << "], \"settings\": {";
        for (int f = 0; f < record::kSettingsCount; ++f) {
            env.out << (f == 0 ? "" : ", ") << jsonString(kSettingNames[static_cast<std::size_t>(f)]) << ": "
                    << int{settingsField(rec, model, static_cast<SettingsField>(f))};
        }
        env.out << "}}\n";
        return kExitOk;
    }
    env.out << modelName(model) << ", " << kModeNames[static_cast<std::size_t>(mode)];
    if (o.positional.empty()) {
        env.out << ", slot " << slot + 1;
    }
    env.out << " (" << source << ")\n\nkey index  slot  code  function\n";
    for (const Key& k : keys) {
        std::array<char, 40> line{};
        std::snprintf(line.data(), line.size(), "%9d  %4s  %4s  ", k.index,
                      k.slot == 0 ? "-" : std::to_string(k.slot).c_str(), hex2(k.code).c_str());
        env.out << line.data() << (k.label.empty() ? "-" : k.label) << "\n";
    }
    env.out << "\nsettings\n";
    for (int f = 0; f < record::kSettingsCount; ++f) {
        std::array<char, 40> line{};
        std::snprintf(line.data(), line.size(), "  %-15s %3d\n",
                      std::string(kSettingNames[static_cast<std::size_t>(f)]).c_str(),
                      int{settingsField(rec, model, static_cast<SettingsField>(f))});
        env.out << line.data();
    }
    return kExitOk;
}

} // namespace

std::filesystem::path defaultSimulatedBankFile() {
    const char* data = std::getenv("XDG_DATA_HOME");
    std::filesystem::path base;
    if (data != nullptr && data[0] == '/') {
        base = data;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        base = std::filesystem::path(home) / ".local" / "share";
    }
    return base.empty() ? base : base / "zavora-demo" / "simulated-adapter.bin";
}

int runCli(const std::vector<std::string>& args, const CliEnvironment& env) {
    try {
        const Options o = parse(args);
        if (o.help) {
            env.out << kUsage;
            return kExitOk;
        }
        if (o.version) {
            env.out << "zavora-cli " << ZAVORA_VERSION << "\n";
            return kExitOk;
        }
        if (o.simulatedModel && o.device) {
            throw UsageError{"--simulated and --device exclude each other"};
        }
        Session session(o, env);
        if (o.command == "list") {
            checkOptions(o, {}, 0, 0);
            return list(session, env);
        }
        if (o.command == "backup") {
            checkOptions(o, {}, 0, 1);
            return backup(session, o, env);
        }
        if (o.command == "restore") {
            checkOptions(o, {"--last"}, 0, 1);
            return restore(session, o, env);
        }
        if (o.command == "export") {
            checkOptions(o, {"--mode", "--slot"}, 1, 1);
            return exportCommand(session, o, env);
        }
        if (o.command == "import") {
            checkOptions(o, {"--slot"}, 1, 1);
            checkProfileName(o.positional.front());
            return importCommand(session, o, env);
        }
        if (o.command == "show") {
            checkOptions(o, {"--mode", "--slot", "--json"}, 0, 1);
            return show(session, o, env);
        }
        throw UsageError{o.command.empty() ? "no command given" : "unknown command '" + o.command + "'"};
    } catch (const UsageError& e) {
        env.err << "zavora-cli: " << e.message << "\nTry 'zavora-cli --help'.\n";
        return kExitUsage;
    } catch (const Failure& e) {
        env.err << "zavora-cli: " << e.message << "\n";
        return kExitFailed;
    }
}

} // namespace zav
