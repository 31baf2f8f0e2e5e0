#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zav {

// Windows virtual-key codes that key capture knows by name; the window turns its own key events
// into these before asking for a label.
namespace vk {
inline constexpr int kBack = 8;
inline constexpr int kTab = 9;
inline constexpr int kReturn = 13;
inline constexpr int kShift = 16;
inline constexpr int kControl = 17;
inline constexpr int kMenu = 18;
inline constexpr int kPause = 19;
inline constexpr int kCapital = 20;
inline constexpr int kEscape = 27;
inline constexpr int kSpace = 32;
inline constexpr int kPrior = 33;
inline constexpr int kNext = 34;
inline constexpr int kEnd = 35;
inline constexpr int kHome = 36;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kSnapshot = 44;
inline constexpr int kInsert = 45;
inline constexpr int kDelete = 46;
inline constexpr int kDigit0 = 48;  // '0'..'9' are 48..57
inline constexpr int kLetterA = 65; // 'A'..'Z' are 65..90
inline constexpr int kLWin = 91;
inline constexpr int kRWin = 92;
inline constexpr int kApps = 93;
inline constexpr int kNumpad0 = 96; // numpad 0..9 are 96..105
inline constexpr int kMultiply = 106;
inline constexpr int kAdd = 107;
inline constexpr int kSeparator = 108;
inline constexpr int kSubtract = 109;
inline constexpr int kDecimal = 110;
inline constexpr int kDivide = 111;
inline constexpr int kF1 = 112; // F1..F12 are 112..123
inline constexpr int kNumLock = 144;
inline constexpr int kScroll = 145;
inline constexpr int kLShift = 160;
inline constexpr int kRShift = 161;
inline constexpr int kLControl = 162;
inline constexpr int kRControl = 163;
inline constexpr int kLMenu = 164;
inline constexpr int kRMenu = 165;
inline constexpr int kVolumeDown = 174;
inline constexpr int kVolumeUp = 175;
inline constexpr int kOem1 = 186;      // ;
inline constexpr int kOemPlus = 187;   // =
inline constexpr int kOemComma = 188;  // ,
inline constexpr int kOemMinus = 189;  // -
inline constexpr int kOemPeriod = 190; // .
inline constexpr int kOem2 = 191;      // /
inline constexpr int kOem3 = 192;      // `
inline constexpr int kOem4 = 219;      // [
inline constexpr int kOem5 = 220;      // backslash
inline constexpr int kOem6 = 221;      // ]
inline constexpr int kOem7 = 222;      // '
} // namespace vk

// Whether a virtual key is held down right now; Shift, Ctrl and Alt are told apart by side.
using KeyDownQuery = std::function<bool(int virtualKey)>;

// The label a pressed key captures, or std::nullopt when the key leaves the captured label as it
// was (keys without a label, and a modifier whose left and right keys both read as up).
std::optional<std::string> labelForVirtualKey(int virtualKey, const KeyDownQuery& isDown);

// Mouse input during capture.
enum class MouseInput { LeftButton, MiddleButton, RightButton, Wheel, SideButton };

// Key-state flags of a side-button press.
inline constexpr int kMkXButton1 = 0x20;
inline constexpr int kMkXButton2 = 0x40;

inline constexpr std::string_view kLabelMouseLeft = "MsL";
inline constexpr std::string_view kLabelMouseMiddle = "MsM";
inline constexpr std::string_view kLabelMouseRight = "MsR";
inline constexpr std::string_view kLabelWheelUp = "ScrUp";
inline constexpr std::string_view kLabelWheelDown = "ScrDo";
inline constexpr std::string_view kLabelSideBack = "Back";
inline constexpr std::string_view kLabelSideForward = "Forwd";

// The label of a mouse input. `value` is the wheel delta for Wheel and the key-state flags for
// SideButton (only exactly one side-button flag, nothing else held, gives a label); ignored
// otherwise. std::nullopt leaves the captured label as it was.
std::optional<std::string> labelForMouseInput(MouseInput input, int value = 0);

} // namespace zav
