#pragma once

#include "profiles/ProfileRecord.h" // model numbers, kAssignModeCount

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zav {

// AssignMode: the page's mode and the number of the adapter bank it reads and writes.
inline constexpr int kModePs4 = 0;
inline constexpr int kModePs3 = 1;
inline constexpr int kModePcPad = 2;
inline constexpr int kModeKeyboard = 3;

// Items of the mode combo (1119), in AssignMode order.
inline constexpr std::array<std::string_view, kAssignModeCount> kAssignModeTexts = {
    "Playstation4", "Playstation3", "PC-Pad", "KeyBoard"};

// KeySlot numbers run 1..kMaxKeySlot; arrays indexed by slot have kSlotArraySize entries (0 unused).
inline constexpr int kMaxKeySlot = 35;
inline constexpr int kSlotArraySize = kMaxKeySlot + 1;

// Control id of the static that marks each slot, the same on every page; entry 0 is unused.
inline constexpr std::array<int, kSlotArraySize> kSlotControlIds = {
    0,    1067, 1068, 1069, 1070, 1071, 1072, 1073, 1074, 1075, 1076, 1077,
    1078, 1079, 1080, 1081, 1082, 1083, 1084, 1085, 1086, 1092, 1093, 1094,
    1095, 1096, 1097, 1098, 1099, 1100, 1101, 1102, 1103, 1105, 1108, 1109};

// Control id given to every slot button the page creates.
inline constexpr int kSlotButtonControlId = 1024;

int slotControlId(int slot);  // 0 when the slot is out of range
int slotForControlId(int id); // 0 when no slot static has this id
int slotCount(int model);     // highest slot on the model's page, 0 for an unknown model

// The first model's slot 22 is one key with two codes, chosen by the D-Pad / L-Stick selector.
inline constexpr int kKiteDualSlot = 22;
inline constexpr int kKiteDualDpadIndex = 8;
inline constexpr int kKiteDualStickIndex = 43;

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

// DeviceKeyIndex of a slot, and the slot of an index. The first model's slot 22 gives its D-pad
// index 8; both 8 and 43 lead back to slot 22.
int slotToIndex(int model, int slot);  // 0 when out of range
int indexToSlot(int model, int index); // 0 when no slot uses it

// FunctionCode <-> FunctionLabel in a mode; labels compare exactly.
std::string codeToLabel(int model, int mode, std::uint8_t code);       // "" when no entry
std::uint8_t labelToCode(int model, int mode, std::string_view label); // 0 when no entry

// True for the square and the twelve arrow labels, which are drawn as symbols.
bool isWingdingsLabel(std::string_view label);
// The Unicode symbol such a label stands for; any other label is returned unchanged.
std::string wingdingsToUnicode(std::string_view label);

} // namespace zav
