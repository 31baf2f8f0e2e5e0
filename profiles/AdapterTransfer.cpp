#include "profiles/AdapterTransfer.h"

#include "profiles/AdapterBanks.h"
#include "profiles/ModelDescription.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileRecord.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace zav {

std::optional<BankSet> readAdapterBanks(DeviceLink& link) {
    BankSet set;
    set.model = link.model();
    set.node = link.identity().path;
    set.time =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    for (int mode = 0; mode < bankset::kModes; ++mode) {
        std::optional<ProfileImage> bank = link.FetchBank(mode);
        if (!bank) {
            return std::nullopt;
        }
        set.banks.push_back(*bank);
    }
    return set;
}

std::vector<BankWritten> restoreBanks(DeviceLink& link, BackupStore& store, const BankSet& set) {
    std::vector<BankWritten> written;
    const auto checked = static_cast<std::size_t>(recordBytesInBank(set.model));
    for (std::size_t i = 0; i < set.banks.size(); ++i) {
        const int mode = set.modeOf(i);
        const WriteOutcome outcome =
            set.model == link.model()
                ? writeKeepingBackup(link, store, set.model, mode, set.banks[i], checked)
                : WriteOutcome::OtherModel;
        written.push_back({mode, outcome});
    }
    return written;
}

int profileSlotCount(int model) {
    const ModelDescription* m = modelDescription(model);
    return m != nullptr ? m->profileSlots : 0;
}

TransferError exportProfile(DeviceLink& link, int mode, int slot, const std::filesystem::path& file) {
    const int model = link.model();
    if (slot < 0 || slot >= profileSlotCount(model)) {
        return TransferError::BadSlot;
    }
    if (mode < 0 || mode >= kAssignModeCount) {
        return TransferError::BadMode;
    }
    const std::optional<ProfileImage> bank = link.ReadBankImage(model, mode);
    if (!bank) {
        return TransferError::ReadFailed;
    }
    return writeProfileFile(file, model, recordAt(*bank, model, slot), mode) ? TransferError::None
                                                                             : TransferError::FileNotWritten;
}

TransferError importProfile(DeviceLink& link, BackupStore& store, const std::filesystem::path& file, int slot,
                            int& mode, WriteOutcome& outcome) {
    const int model = link.model();
    if (slot < 0 || slot >= profileSlotCount(model)) {
        return TransferError::BadSlot;
    }
    std::vector<std::uint8_t> loaded(static_cast<std::size_t>(recordSize(model)));
    int fileMode = 0;
    int marker = 0;
    if (!readProfileFile(file, model, loaded, fileMode, marker)) {
        return TransferError::FileUnreadable;
    }
    // As in the window: 0 counts as this model, anything else must be it.
    if (marker != 0 && marker != model) {
        return TransferError::OtherModel;
    }
    if (fileMode < 0 || fileMode >= kAssignModeCount) {
        return TransferError::BadMode;
    }
    // The other slots of the bank stay as the adapter holds them.
    std::optional<ProfileImage> bank = link.ReadBankImage(model, fileMode);
    if (!bank) {
        return TransferError::ReadFailed;
    }
    const auto target = recordAt(*bank, model, slot);
    std::copy(loaded.begin(), loaded.end(), target.begin());
    exchangeStoredCodes(model, fileMode, *bank);
    mode = fileMode;
    outcome = writeKeepingBackup(link, store, model, fileMode, *bank,
                                 static_cast<std::size_t>(recordBytesInBank(model)));
    return TransferError::None;
}

} // namespace zav
