#pragma once

#include "device/DeviceLink.h"
#include "device/ProfileImage.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zav {

// $XDG_STATE_HOME/zavora/backups, or ~/.local/state/zavora/backups (on Windows
// %LOCALAPPDATA%\zavora\backups); empty when no variable names a folder to start from.
std::filesystem::path defaultBackupFolder();

// The banks that writes overwrote, one bank file each (see BankSetFile.h), named so that the names of a
// model sort oldest first: "kite-20261206-204629.123456-ps4.zavbank". The newest kKeepPerModel of each
// model stay; older ones go when a new one is kept, except any that a restore is reading.
class BackupStore {
public:
    static constexpr std::size_t kKeepPerModel = 100;

    explicit BackupStore(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return folder_; }

    // Keeps `bank`, read from the adapter of `model` at `node` just before a write of `mode`, and prunes
    // that model's older backups. The path of the new file, or empty when it could not be written.
    std::optional<std::filesystem::path> keep(int model, int mode, const std::string& node,
                                              const ProfileImage& bank);

    // The backups of a model, oldest first.
    std::vector<std::filesystem::path> list(int model) const;
    std::optional<std::filesystem::path> latest(int model) const;

    // While a Reading lives, its file is never pruned.
    class Reading {
    public:
        Reading(BackupStore& store, const std::filesystem::path& path);
        ~Reading();
        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;

    private:
        BackupStore& store_;
        std::filesystem::path path_;
    };

private:
    void prune(int model);

    std::filesystem::path folder_;
    mutable std::mutex mutex_;
    std::multiset<std::filesystem::path> reading_;
};

// Every write of a bank goes through here: the bank as the adapter holds it is kept in `store` first, then
// `image` is written with the check read. NotKept when that first read or the backup failed; nothing was
// sent to the adapter after the read then.
WriteOutcome writeKeepingBackup(DeviceLink& link, BackupStore& store, int model, int bank,
                                const ProfileImage& image, std::size_t checkedBytes);

} // namespace zav
