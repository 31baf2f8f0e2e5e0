#include "device/BackupStore.h"

#include "device/BankSetFile.h"
#include "device/DeviceLog.h"
#include "device/SafeFile.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace zav {
namespace {

constexpr std::array<const char*, 3> kModelNames = {"kite", "moss", "fern"};
constexpr std::array<const char*, 4> kModeNames = {"ps4", "ps3", "pc", "kbd"};
constexpr const char* kExtension = ".zavbank";

std::string prefixOf(int model) {
    return std::string(kModelNames[static_cast<std::size_t>(model - 1)]) + "-";
}

std::filesystem::path sameFile(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path found = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : found;
}

bool validModel(int model) {
    return model >= 1 && model <= 3;
}

// UTC time with microseconds, fixed width so that names sort by time.
std::string stamp(std::chrono::system_clock::time_point at) {
    using namespace std::chrono;
    const auto day = floor<days>(at);
    const year_month_day date{day};
    const hh_mm_ss<microseconds> time{duration_cast<microseconds>(at - day)};
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%04d%02u%02u-%02d%02d%02d.%06lld", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()),
                  static_cast<long long>(time.subseconds().count()));
    return text.data();
}

} // namespace

std::filesystem::path defaultBackupFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    // XDG base directories: a relative value is ignored.
    if (state != nullptr && state[0] == '/') {
        return std::filesystem::path(state) / "zavora" / "backups";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return std::filesystem::path(home) / ".local" / "state" / "zavora" / "backups";
    }
    // Windows keeps per-user state below the local application data folder.
    const char* local = std::getenv("LOCALAPPDATA");
    if (local != nullptr && local[0] != '\0') {
        return std::filesystem::path(local) / "zavora" / "backups";
    }
    return {};
}

BackupStore::BackupStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::optional<std::filesystem::path> BackupStore::keep(int model, int mode, const std::string& node,
                                                       const ProfileImage& bank) {
    if (!validModel(model) || mode < 0 || mode > 3 || folder_.empty()) {
        return std::nullopt;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder_.parent_path(), ec);
    if (!std::filesystem::is_directory(folder_) && !makePrivateFolder(folder_)) {
        logDeviceFailure("the backup folder " + folder_.string() + " cannot be made");
        return std::nullopt;
    }
    const auto now = std::chrono::system_clock::now();
    BankSet set;
    set.model = model;
    set.firstMode = mode;
    set.time = std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
    set.node = node.substr(0, bankset::kNodeSize - 1);
    set.banks.push_back(bank);
    std::lock_guard lock(mutex_);
    // Two writes within one microsecond still get a file each.
    std::filesystem::path path;
    for (auto at = now;; at += std::chrono::microseconds(1)) {
        path = folder_ /
               (prefixOf(model) + stamp(at) + "-" + kModeNames[static_cast<std::size_t>(mode)] + kExtension);
        if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
            break;
        }
    }
    if (!saveBankSet(path, set)) {
        logDeviceFailure("the bank could not be kept in " + path.string());
        return std::nullopt;
    }
    prune(model);
    return path;
}

std::vector<std::filesystem::path> BackupStore::list(int model) const {
    std::vector<std::filesystem::path> found;
    if (!validModel(model)) {
        return found;
    }
    std::error_code ec;
    const std::string prefix = prefixOf(model);
    for (std::filesystem::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(prefix) && name.ends_with(kExtension) && it->is_regular_file(ec)) {
            found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::optional<std::filesystem::path> BackupStore::latest(int model) const {
    const auto all = list(model);
    if (all.empty()) {
        return std::nullopt;
    }
    return all.back();
}

void BackupStore::prune(int model) {
    const auto all = list(model);
    if (all.size() <= kKeepPerModel) {
        return;
    }
    const std::size_t excess = all.size() - kKeepPerModel;
    for (std::size_t i = 0; i < excess; ++i) {
        std::error_code ec;
        if (reading_.count(sameFile(all[i])) != 0) {
            continue;
        }
        std::filesystem::remove(all[i], ec);
    }
}

// The same file under any spelling of its path.
BackupStore::Reading::Reading(BackupStore& store, const std::filesystem::path& path)
    : store_(store), path_(sameFile(path)) {
    std::lock_guard lock(store_.mutex_);
    store_.reading_.insert(path_);
}

BackupStore::Reading::~Reading() {
    std::lock_guard lock(store_.mutex_);
    store_.reading_.erase(store_.reading_.find(path_));
}

WriteOutcome writeKeepingBackup(DeviceLink& link, BackupStore& store, int model, int bank,
                                const ProfileImage& image, std::size_t checkedBytes) {
    const std::string node = link.identity().path;
    return link.WriteImageKeeping(model, bank, image, checkedBytes, [&](const ProfileImage& before) {
        return store.keep(model, bank, node, before).has_value();
    });
}

} // namespace zav
