#include "profiles/AdapterBanks.h"

#include "profiles/ModelDescription.h"
#include "profiles/ProfileRecord.h"

namespace zav {

SimulatedAdapter::Banks freshAdapterBanks() {
    SimulatedAdapter::Banks banks{};
    for (const ModelDescription& m : modelDescriptions()) {
        for (int mode = 0; mode < SimulatedAdapter::kModes; ++mode) {
            ProfileImage& bank = banks[static_cast<std::size_t>(m.model - 1)][static_cast<std::size_t>(mode)];
            for (int slot = 0; slot < m.profileSlots; ++slot) {
                resetToDefaults(bank, m.model, mode, slot);
            }
            exchangeStoredCodes(m.model, mode, bank);
        }
    }
    return banks;
}

} // namespace zav
