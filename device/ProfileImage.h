#pragma once

#include <array>
#include <cstdint>
#include <utility>

namespace zav {

// One adapter bank of one model: the records of one mode and whatever follows them.
using ProfileImage = std::array<std::uint8_t, 512>;

// Turns a bank as the program reads it into the bank as the adapter stores it, and back: the MOSS
// (model 2) keeps two pairs of key codes of its PlayStation 3 bank (bank 1) exchanged, bytes 14/18 and
// 15/17. Other banks are left as they are.
inline void exchangeStoredCodes(int model, int bank, ProfileImage& image) {
    if (model == 2 && bank == 1) {
        std::swap(image[14], image[18]);
        std::swap(image[15], image[17]);
    }
}

} // namespace zav
