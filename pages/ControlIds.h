#pragma once

#include <array>

// The numeric ids of the assignment page's controls. Each control carries its id as its objectName
// ("1007"), so that tests and assistive tools find it by the number the page has always used.
namespace zav::ids {

// Profile column.
inline constexpr int kSave = 1004;
inline constexpr int kDefault = 1006;
inline constexpr int kWrite = 1007;
inline constexpr int kModeList = 1119;
inline constexpr int kSlotList = 1120;
inline constexpr int kDelete = 1124;
inline constexpr int kProfileList = 1126;
inline constexpr int kNew = 1139;
inline constexpr int kCopy = 1140;
inline constexpr int kSwitchHelp = 1142;
inline constexpr int kProfileHelp = 1144;

// Mouse settings and the keypad's options.
inline constexpr int kDeadZone = 1132;
inline constexpr int kAcceleration = 1133;
inline constexpr int kSensitivity = 1135;
inline constexpr int kButtonOptions = 1138;

// Slot 22's selector on the first model; the second model uses 1137 for its left-stick panel.
inline constexpr int kDPad = 1137;
inline constexpr int kLStick = 1141;
inline constexpr int kLStickSettings = 1137;

// Key capture, shown in keyboard mode. The "NC" button's id differs by model (PageLayout::captureNcId).
inline constexpr int kCaptureNc = 1147;
inline constexpr int kMossCaptureNc = 1150;
inline constexpr int kCaptureCancel = 1088;
inline constexpr int kCaptureOk = 1089;
inline constexpr int kInputKey = 1090;
inline constexpr int kCaptured = 1148;
inline constexpr int kCurrent = 1149;
inline constexpr int kCaptureFn = 1151;
inline constexpr int kOnScreenKeyboard = 1160;

// Palette captions and help.
inline constexpr int kGroupButtons = 1155;
inline constexpr int kGroupDPad = 1156;
inline constexpr int kGroupLStick = 1157;
inline constexpr int kGroupSpecial = 1158;
inline constexpr int kPaletteHelp = 1161;

// Second model: the "prioritize the pressed button" switch and its help.
inline constexpr int kMossSwitch = 1152;
inline constexpr int kPrioritizeHelp = 1185;

inline constexpr int kVersion = 1174;

inline constexpr std::array<int, 4> kPaletteGroups = {kGroupButtons, kGroupDPad, kGroupLStick, kGroupSpecial};

// The buttons that stay buttons while a key is awaited, besides the page's "NC".
inline constexpr std::array<int, 4> kUsableDuringCapture = {kCaptureOk, kCaptureCancel, kOnScreenKeyboard,
                                                            kCaptureFn};

} // namespace zav::ids
