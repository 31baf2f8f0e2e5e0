#pragma once

#include "device/MouseClassifier.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace zav {

// What the link knows of each model: how its adapter is recognised and how it keeps its banks. The rest
// of a model's description (records, slots, files, pages) stands above, in profiles/ModelDescription.h.
struct AdapterModel {
    int model = 0; // 1..3
    std::uint16_t productId = 0;
    OwnMouseSet identificationMice = OwnMouseSet::FirstOnly;
    // The bank the adapter keeps with pairs of bytes exchanged (-1: none) and those pairs.
    int exchangedBank = -1;
    std::array<std::pair<int, int>, 2> exchangedBytes{};
};

inline constexpr std::array<AdapterModel, 3> kAdapterModels = {{
    {1, 0x00C4, OwnMouseSet::FirstOnly, -1, {}},
    // The MOSS keeps two pairs of key codes of its PlayStation 3 bank exchanged.
    {2, 0x00C8, OwnMouseSet::Full, 1, {{{14, 18}, {15, 17}}}},
    {3, 0x00DB, OwnMouseSet::FirstOnly, -1, {}},
}};

// The adapter of model 1..3; nullptr for any other number.
constexpr const AdapterModel* adapterModel(int model) {
    const auto found = std::find_if(kAdapterModels.begin(), kAdapterModels.end(),
                                    [model](const AdapterModel& a) { return a.model == model; });
    return found == kAdapterModels.end() ? nullptr : &*found;
}

} // namespace zav
