#pragma once

#include <array>
#include <cstdint>

namespace zav {

// One adapter bank of one model: the records of one mode and whatever follows them.
using ProfileImage = std::array<std::uint8_t, 512>;

} // namespace zav
