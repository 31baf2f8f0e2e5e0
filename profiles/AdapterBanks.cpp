#include "profiles/AdapterBanks.h"

#include "profiles/ProfileRecord.h"

#include <utility>

namespace zav {

SimulatedAdapter::Banks freshAdapterBanks() {
    SimulatedAdapter::Banks banks{};
    for (int model = models::kKite; model <= models::kFern; ++model) {
        const int slots = model == models::kMoss ? 1 : 3;
        for (int mode = 0; mode < SimulatedAdapter::kModes; ++mode) {
            ProfileImage& bank = banks[static_cast<std::size_t>(model - 1)][static_cast<std::size_t>(mode)];
            for (int slot = 0; slot < slots; ++slot) {
                resetToDefaults(bank, model, mode, slot);
            }
            exchangeStoredCodes(model, mode, bank);
        }
    }
    return banks;
}

} // namespace zav
