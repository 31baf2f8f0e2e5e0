#pragma once

#include <cstdint>
#include <string_view>

namespace zav {

// Console labels that are not plain ASCII. The square and the arrows are drawn in a symbol font
// by their original characters; wingdingsToUnicode gives what they stand for.
inline constexpr std::string_view kLabelCircle = "\u25CB";
inline constexpr std::string_view kLabelCross = "\u03A7"; // Greek capital chi, not the letter X
inline constexpr std::string_view kLabelSquare = "o";
inline constexpr std::string_view kLabelTriangle = "\u25B3";
inline constexpr std::string_view kLabelDpadUp = "\u00E1";
inline constexpr std::string_view kLabelDpadDown = "\u00E2";
inline constexpr std::string_view kLabelDpadLeft = "\u00DF";
inline constexpr std::string_view kLabelDpadRight = "\u00E0";
inline constexpr std::string_view kLabelStickUp = "\u00E9";
inline constexpr std::string_view kLabelStickDown = "\u00EA";
inline constexpr std::string_view kLabelStickLeft = "\u00E7";
inline constexpr std::string_view kLabelStickRight = "\u00E8";
inline constexpr std::string_view kLabelStickUpLeft = "\u00EB";
inline constexpr std::string_view kLabelStickUpRight = "\u00EC";
inline constexpr std::string_view kLabelStickDownLeft = "\u00ED";
inline constexpr std::string_view kLabelStickDownRight = "\u00EE";

// The adapter's own functions.
inline constexpr std::string_view kLabelNoFunction = "NC";
inline constexpr std::string_view kLabelFn = "Fn";
inline constexpr std::string_view kLabelWalk = "Wa";
inline constexpr std::string_view kLabelQuick = "Qu";
inline constexpr std::string_view kLabelSnipe = "Sn";
inline constexpr std::string_view kLabelTouchPad = "TP";

// Keyboard-mode code of "Fn", which only the second model knows.
inline constexpr std::uint8_t kMossKeyboardFnCode = 255;

} // namespace zav
