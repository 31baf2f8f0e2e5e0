#pragma once

#include "profiles/KeyLabels.h"
#include "profiles/ModelDescription.h" // slot maps and code tables of each model
#include "profiles/ProfileRecord.h"    // model numbers, modes

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zav {

// Items of the mode combo (1119), in AssignMode order.
inline constexpr std::array<std::string_view, kAssignModeCount> kAssignModeTexts = {
    "Playstation4", "Playstation3", "PC-Pad", "KeyBoard"};

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

// DeviceKeyIndex of a slot, and the slot of an index. A dual slot (the first model's slot 22) gives its
// D-pad index (8); both its indices (8, 43) lead back to it.
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
