#pragma once

#include "device/AdapterModel.h"

#include <array>
#include <cstdint>
#include <utility>

namespace zav {

// One adapter bank of one model: the records of one mode and whatever follows them.
using ProfileImage = std::array<std::uint8_t, 512>;

// Turns a bank as the program reads it into the bank as the adapter stores it, and back: the MOSS
// (model 2) keeps two pairs of key codes of its PlayStation 3 bank (bank 1) exchanged, bytes 14/18 and
// 15/17 (AdapterModel::exchangedBytes). Other banks are left as they are.
inline void exchangeStoredCodes(int model, int bank, ProfileImage& image) {
    const AdapterModel* adapter = adapterModel(model);
    if (adapter == nullptr || adapter->exchangedBank < 0 || bank != adapter->exchangedBank) {
        return;
    }
    for (const auto& [a, b] : adapter->exchangedBytes) {
        std::swap(image[static_cast<std::size_t>(a)], image[static_cast<std::size_t>(b)]);
    }
}

} // namespace zav
