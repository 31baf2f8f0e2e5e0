#pragma once

#include "device/BackupStore.h"
#include "device/BankSetFile.h"
#include "device/DeviceLink.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace zav {

// What zavora-cli does with an attached adapter, without the command line around it. Every write goes
// through writeKeepingBackup, so the bank it overwrites is kept first.

// All four banks of the attached adapter as it holds them; empty when any bank does not arrive whole.
std::optional<BankSet> readAdapterBanks(DeviceLink& link);

struct BankWritten {
    int mode = 0;
    WriteOutcome outcome = WriteOutcome::Failed;
};

// Writes each bank of `set` into the attached adapter, with its backup first and the check read after.
// Goes on after a failed bank so that the report says what happened to each. A set of another model
// writes nothing and reports OtherModel for each bank.
std::vector<BankWritten> restoreBanks(DeviceLink& link, BackupStore& store, const BankSet& set);

enum class TransferError {
    None,
    BadSlot,    // a slot the model does not have
    BadMode,    // a mode outside 0..3 (a profile file's mode byte)
    ReadFailed, // the adapter's bank did not arrive whole
    FileUnreadable,
    FileNotWritten,
    OtherModel, // the profile file was written by another model
};

// The profile slots of a model: 3 on the KITE and FERN, 1 on the MOSS.
int profileSlotCount(int model);

// The record of `slot` (0-based) of bank `mode` into a profile file, exactly as the window saves it.
TransferError exportProfile(DeviceLink& link, int mode, int slot, const std::filesystem::path& file);

// A profile file into slot `slot` of the bank of the file's own mode. `mode` receives that mode and
// `outcome` the write's outcome when the write was started.
TransferError importProfile(DeviceLink& link, BackupStore& store, const std::filesystem::path& file, int slot,
                            int& mode, WriteOutcome& outcome);

} // namespace zav
