#pragma once

#include "device/ProfileImage.h"

#include <numeric>
#include <vector>

namespace zav::test {

// "q" with parameter 0 as the adapter receives it.
inline const std::vector<std::uint8_t> kStatusFrame = {
    0x05, 0xA5, 0x71, 0x5A, 0x8E, 0x00, 0xAC, 0xAD, 0xA2, 0xA3, 0xA0, 0xA1, 0xA6, 0xA7, 0xA4, 0xA5, 0xBA,
    0xBB, 0xB8, 0xB9, 0xBE, 0xBF, 0xBC, 0xBD, 0xB2, 0xB3, 0xB0, 0xB1, 0xB6, 0xB7, 0xB4, 0xB5, 0x8A};

// Data frame 5 of a write of countingBank() after identification: the status frame's leftovers behind.
inline const std::vector<std::uint8_t> kDataFrame5 = {
    0x05, 0xA5, 0x75, 0x5A, 0x8A, 0x05, 80,   81,   82,   83,   84,   85,   86,   87,   88,   89,  90,
    91,   92,   93,   94,   95,   0xBC, 0xBD, 0xB2, 0xB3, 0xB0, 0xB1, 0xB6, 0xB7, 0xB4, 0xB5, 0x8A};

inline ProfileImage countingBank() {
    ProfileImage image{};
    std::iota(image.begin(), image.end(), std::uint8_t{0});
    return image;
}

inline ProfileImage pattern(int seed) {
    ProfileImage image{};
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7 + static_cast<std::size_t>(seed) * 29 + 3);
    }
    return image;
}

} // namespace zav::test
