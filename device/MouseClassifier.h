#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace zav {

enum class MouseKind : int { None = 0, Ordinary = 1, Own = 2 };

// Which of the family's mice count as its own. Identification of models 1 and 3 knows only
// the first one; identification of model 2 and the status poll of every page know them all.
enum class OwnMouseSet { FirstOnly, Full };

OwnMouseSet identificationMouseSet(int model);

struct MouseState {
    MouseKind kind = MouseKind::None;
    bool ordinarySeen = false;
};

// Classifies the mouse identity of a status reply (bytes 14..17: vendor hi, lo, product hi, lo).
MouseState classifyMouse(std::span<const std::uint8_t, 4> mouseId, OwnMouseSet set, MouseState previous);

} // namespace zav
