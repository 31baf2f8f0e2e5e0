#include "pages/PageLayout.h"

#include "pages/ControlIds.h"
#include "pages/KeyTables.h"

#include <algorithm>

namespace zav {

namespace {

constexpr int kKey = 33;

// --- first model -------------------------------------------------------------------------------

constexpr std::array<SlotPlace, 35> kKiteSlots = {{
    {1, 1067, {159, 185, 44, 32}},      {2, 1068, {204, 175, 33, 32}},
    {3, 1069, {237, 175, 33, 32}},      {4, 1070, {270, 175, 33, 32}},
    {5, 1071, {303, 175, 33, 32}},      {6, 1072, {159, 218, 44, 32}},
    {7, 1073, {204, 208, 33, 32}},      {8, 1074, {237, 208, 33, 32}},
    {9, 1075, {270, 208, 33, 32}},      {10, 1076, {303, 208, 33, 32}},
    {11, 1077, {159, 251, 44, 32}},     {12, 1078, {204, 241, 33, 32}},
    {13, 1079, {237, 241, 33, 32}},     {14, 1080, {270, 241, 33, 32}},
    {15, 1081, {303, 241, 33, 32}},     {16, 1082, {159, 284, 44, 32}},
    {17, 1083, {204, 274, 33, 32}},     {18, 1084, {237, 274, 33, 32}},
    {19, 1085, {270, 274, 33, 32}},     {20, 1086, {303, 274, 33, 32}},
    {21, 1092, {15, 310, kKey, kKey}},  {22, 1093, {50, 331, kKey, kKey}},
    {23, 1094, {707, 310, 33, 50}},     {24, 1095, {785, 310, 33, 50}},
    {25, 1096, {741, 322, 43, 25}},     {26, 1097, {880, 390, kKey, kKey}},
    {27, 1098, {880, 425, kKey, kKey}}, {28, 1099, {845, 363, kKey, kKey}},
    {29, 1100, {880, 459, kKey, kKey}}, {30, 1101, {741, 296, 43, 25}},
    {31, 1102, {741, 348, 43, 25}},     {32, 1103, {239, 106, 37, 28}},
    {33, 1105, {300, 106, 37, 28}},     {34, 1108, {239, 135, 37, 28}},
    {35, 1109, {300, 135, 37, 28}},
}};

// The palette of the first and third models; the second model's differs in a few places.
constexpr std::array<PaletteKey, 28> kPalette = {{
    {1036, {464, 320, 38, 28}, kLabelCircle, "A"},
    {1037, {504, 320, 38, 28}, kLabelCross, "B"},
    {1038, {544, 320, 38, 28}, kLabelSquare, "X"},
    {1039, {584, 320, 38, 28}, kLabelTriangle, "Y"},
    {1040, {624, 320, 38, 28}, "L1", "LB"},
    {1041, {464, 350, 38, 28}, "R1", "RB"},
    {1042, {504, 350, 38, 28}, "L2", "LT"},
    {1043, {544, 350, 38, 28}, "R2", "RT"},
    {1044, {584, 350, 38, 28}, "L3", "LSB"},
    {1045, {624, 350, 38, 28}, "R3", "RSB"},
    {1050, {464, 400, 38, 28}, kLabelDpadUp, kLabelDpadUp},
    {1051, {504, 400, 38, 28}, kLabelDpadDown, kLabelDpadDown},
    {1052, {544, 400, 38, 28}, kLabelDpadLeft, kLabelDpadLeft},
    {1053, {584, 400, 38, 28}, kLabelDpadRight, kLabelDpadRight},
    {1054, {464, 450, 38, 28}, kLabelStickUp, kLabelStickUp},
    {1055, {504, 450, 38, 28}, kLabelStickDown, kLabelStickDown},
    {1056, {544, 450, 38, 28}, kLabelStickLeft, kLabelStickLeft},
    {1057, {584, 450, 38, 28}, kLabelStickRight, kLabelStickRight},
    {1058, {464, 480, 38, 28}, kLabelStickUpLeft, kLabelStickUpLeft, true},
    {1059, {504, 480, 38, 28}, kLabelStickUpRight, kLabelStickUpRight, true},
    {1060, {544, 480, 38, 28}, kLabelStickDownLeft, kLabelStickDownLeft, true},
    {1061, {584, 480, 38, 28}, kLabelStickDownRight, kLabelStickDownRight, true},
    {1046, {464, 530, 38, 28}, kLabelWalk, kLabelWalk},
    {1047, {504, 530, 38, 28}, kLabelQuick, kLabelQuick},
    {1048, {544, 530, 38, 28}, kLabelSnipe, kLabelSnipe},
    {1049, {584, 530, 38, 28}, kLabelNoFunction, kLabelNoFunction},
    {1110, {624, 530, 38, 28}, kLabelTouchPad, kLabelTouchPad, false, true},
    {1111, {464, 560, 38, 28}, kLabelFn, kLabelFn},
}};

constexpr std::array<ControlPlace, 30> kKiteControls = {{
    {ids::kButtonOptions, {75, 25, 180, 30}},
    {ids::kModeList, {420, 55, 140, 30}},
    {ids::kSlotList, {565, 55, 102, 30}},
    {ids::kSwitchHelp, {637, 20, 30, 30}},
    {ids::kSensitivity, {765, 70, 120, 30}},
    {ids::kAcceleration, {765, 105, 120, 30}},
    {ids::kDeadZone, {765, 140, 120, 30}},
    {ids::kProfileList, {420, 160, 207, 190}},
    {ids::kWrite, {596, 122, 77, 30}},
    {ids::kNew, {420, 195, 120, 30}},
    {ids::kCopy, {547, 195, 120, 30}},
    {ids::kSave, {420, 230, 77, 30}},
    {ids::kDefault, {505, 230, 77, 30}},
    {ids::kDelete, {590, 230, 77, 30}},
    {ids::kPaletteHelp, {640, 285, 30, 30}},
    {ids::kOnScreenKeyboard, {555, 285, 80, 30}},
    {ids::kInputKey, {425, 425, 80, 30}},
    {ids::kCaptured, {435, 455, 150, 30}},
    {ids::kCurrent, {435, 375, 150, 30}},
    {ids::kCaptureOk, {435, 510, 105, 30}},
    {ids::kCaptureCancel, {545, 510, 105, 30}},
    {ids::kCaptureNc, {592, 455, 58, 30}},
    {ids::kDPad, {15, 570, 65, 25}},
    {ids::kLStick, {81, 570, 65, 25}},
    {ids::kVersion, {900, 580, 60, 30}},
    {ids::kProfileHelp, {637, 155, 30, 30}},
    {ids::kGroupButtons, {409, 332, 54, 30}},
    {ids::kGroupDPad, {409, 399, 54, 30}},
    {ids::kGroupLStick, {409, 464, 54, 30}},
    {ids::kGroupSpecial, {409, 544, 54, 30}},
}};

// --- second model ------------------------------------------------------------------------------

constexpr std::array<SlotPlace, 28> kMossSlots = {{
    {1, 1067, {336, 110, kKey, kKey}},  {2, 1068, {228, 110, kKey, kKey}},
    {3, 1069, {336, 145, kKey, kKey}},  {4, 1070, {228, 145, kKey, kKey}},
    {5, 1071, {332, 180, kKey, kKey}},  {6, 1072, {84, 346, kKey, kKey}},
    {7, 1073, {135, 360, kKey, kKey}},  {8, 1074, {135, 445, kKey, kKey}},
    {9, 1075, {95, 402, kKey, kKey}},   {10, 1076, {175, 402, kKey, kKey}},
    {11, 1077, {707, 320, 33, 40}},     {12, 1078, {785, 320, 33, 40}},
    {13, 1079, {741, 332, 43, 25}},     {14, 1080, {880, 390, kKey, kKey}},
    {15, 1081, {880, 425, kKey, kKey}}, {16, 1082, {845, 363, kKey, kKey}},
    {17, 1083, {880, 459, kKey, kKey}}, {18, 1084, {741, 305, 43, 25}},
    {19, 1085, {741, 359, 43, 25}},     {20, 1086, {170, 86, kKey, kKey}},
    {21, 1092, {170, 120, kKey, kKey}}, {22, 1093, {170, 154, kKey, kKey}},
    {23, 1094, {170, 188, kKey, kKey}}, {24, 1095, {183, 310, 50, 33}},
    {25, 1096, {261, 310, 50, 33}},     {26, 1097, {183, 348, 50, 33}},
    {27, 1098, {261, 348, 50, 33}},     {28, 1099, {290, 398, kKey, kKey}},
}};

constexpr std::array<PaletteKey, 28> kMossPalette = [] {
    std::array<PaletteKey, 28> palette = kPalette;
    for (PaletteKey& key : palette) {
        key.neverShown = key.diagonal; // this model has no stick diagonals
        if (key.id == 1036) {
            key.id = 1179;
        } else if (key.id >= 1046 && key.id <= 1049) {
            key.box.y = 500;
        } else if (key.id == 1110) {
            key.box.y = 500;
        } else if (key.id == 1111) {
            key.id = 1147;
            key.box = {464, 530, 38, 28};
        }
    }
    return palette;
}();

constexpr std::array<ControlPlace, 32> kMossControls = {{
    {ids::kButtonOptions, {75, 25, 180, 30}},   {ids::kModeList, {420, 55, 140, 30}},
    {ids::kSlotList, {565, 55, 102, 30}},       {ids::kSwitchHelp, {637, 20, 30, 30}},
    {ids::kSensitivity, {765, 70, 120, 30}},    {ids::kAcceleration, {765, 105, 120, 30}},
    {ids::kDeadZone, {765, 140, 120, 30}},      {ids::kProfileList, {420, 160, 207, 187}},
    {ids::kWrite, {596, 122, 77, 30}},          {ids::kNew, {420, 195, 120, 30}},
    {ids::kCopy, {547, 195, 120, 30}},          {ids::kSave, {420, 230, 77, 30}},
    {ids::kDefault, {505, 230, 77, 30}},        {ids::kDelete, {590, 230, 77, 30}},
    {ids::kPaletteHelp, {640, 285, 30, 30}},    {ids::kOnScreenKeyboard, {555, 285, 80, 30}},
    {ids::kInputKey, {425, 425, 80, 30}},       {ids::kCaptured, {435, 455, 150, 30}},
    {ids::kCurrent, {435, 375, 150, 30}},       {ids::kCaptureOk, {435, 510, 105, 30}},
    {ids::kCaptureCancel, {545, 510, 105, 30}}, {ids::kMossCaptureNc, {592, 455, 58, 30}},
    {ids::kCaptureFn, {592, 424, 58, 30}},      {ids::kMossSwitch, {15, 575, 120, 25}},
    {ids::kPrioritizeHelp, {202, 575, 25, 25}}, {ids::kLStickSettings, {240, 575, 120, 25}},
    {ids::kVersion, {900, 580, 60, 30}},        {ids::kProfileHelp, {637, 155, 30, 30}},
    {ids::kGroupButtons, {409, 332, 54, 30}},   {ids::kGroupDPad, {409, 399, 54, 30}},
    {ids::kGroupLStick, {409, 449, 54, 30}},    {ids::kGroupSpecial, {409, 513, 54, 30}},
}};

// --- third model -------------------------------------------------------------------------------

constexpr std::array<SlotPlace, 32> kFernSlots = {{
    {1, 1067, {87, 220, 37, 35}},       {2, 1068, {136, 220, 38, 35}},
    {3, 1069, {174, 220, 37, 35}},      {4, 1070, {211, 220, 37, 35}},
    {5, 1071, {248, 220, 37, 35}},      {6, 1072, {285, 220, 37, 35}},
    {7, 1073, {87, 256, 37, 35}},       {8, 1074, {147, 256, 37, 35}},
    {9, 1075, {184, 256, 37, 35}},      {10, 1076, {221, 256, 37, 35}},
    {11, 1077, {258, 256, 37, 35}},     {12, 1078, {295, 256, 37, 35}},
    {13, 1079, {87, 292, 80, 36}},      {14, 1080, {203, 292, 37, 35}},
    {15, 1081, {240, 292, 37, 35}},     {16, 1082, {277, 292, 37, 35}},
    {17, 1083, {87, 330, 37, 35}},      {18, 1084, {233, 334, 31, 31}},
    {19, 1085, {278, 328, 92, 35}},     {20, 1086, {707, 310, 33, 50}},
    {21, 1092, {785, 310, 33, 50}},     {22, 1093, {741, 322, 43, 25}},
    {23, 1094, {880, 390, kKey, kKey}}, {24, 1095, {880, 425, kKey, kKey}},
    {25, 1096, {845, 363, kKey, kKey}}, {26, 1097, {880, 460, kKey, kKey}},
    {27, 1098, {741, 296, 43, 25}},     {28, 1099, {741, 348, 43, 25}},
    {29, 1100, {129, 136, 37, 28}},     {30, 1101, {190, 136, 37, 28}},
    {31, 1102, {129, 165, 37, 28}},     {32, 1103, {190, 165, 37, 28}},
}};

constexpr std::array<ControlPlace, 28> kFernControls = [] {
    std::array<ControlPlace, 28> controls{};
    std::size_t n = 0;
    for (const ControlPlace& c : kKiteControls) {
        if (c.id == ids::kDPad || c.id == ids::kLStick) {
            continue; // no D-Pad / L-Stick selector
        }
        controls[n] = c;
        if (c.id == ids::kProfileList) {
            controls[n].box.h = 187;
        }
        ++n;
    }
    return controls;
}();

// The slot rules and the selector come from the model's description when the layouts are first asked for.
constexpr std::array<PageLayout, 3> kLayouts = {{
    {1,
     129,
     0x402,
     kKiteSlots,
     kPalette,
     kKiteControls,
     {},
     {{{"keyboard_connect.png", "keyboard_disconnect.png", {132, 100, 257, 473}},
       {"keyboard_connect1.png", "keyboard_disconnect1.png", {5, 60, 122, 520}}}},
     {80, 423, 309, 150},
     {409, 280, 265, 315},
     {420, 282, 180, 28},
     "mouse_connect_jp.png",
     "mouse_disconnect_jp.png",
     ids::kCaptureNc,
     {},
     {},
     {}},
    {2,
     157,
     0x403,
     kMossSlots,
     kMossPalette,
     kMossControls,
     {},
     {{{"5230_keyboard_connect.png", "5230_keyboard_disconnect.png", {38, 232, 321, 341}},
       {"5230_keyboard_connect1.png", "5230_keyboard_disconnect1.png", {38, 60, 321, 162}}}},
     {80, 523, 279, 50},
     {409, 280, 265, 295},
     {420, 282, 165, 28},
     "mouse_jp.png",
     "mouse_jp_dis.png",
     ids::kMossCaptureNc,
     {},
     {{{30, 86, 140, 34}, {30, 120, 140, 34}, {30, 154, 140, 34}, {30, 188, 140, 34}}},
     {15, 550, 185, 24}},
    {3,
     159,
     0x404,
     kFernSlots,
     kPalette,
     kFernControls,
     {},
     {{{"5270_keyboard_connect.png", "5270_keyboard_disconnect.png", {14, 140, 390, 322}}, {}}},
     {80, 423, 324, 39},
     {409, 280, 265, 315},
     {420, 282, 165, 28},
     "mouse_jp.png",
     "mouse_jp_dis.png",
     ids::kCaptureNc,
     {},
     {},
     {}},
}};

constexpr PageArt kArt = {
    {-2, -2},
    {0, 0, 960, 691},
    {409, 10, 265, 80},
    {{{617, 118},
      {409, 118},
      {409, 265},
      {674, 265},
      {674, 118},
      {652, 118},
      {652, 112},
      {670, 112},
      {635, 92},
      {600, 112},
      {617, 112},
      {617, 118}}},
    {743, 40, 160, 140},
    {753, 41, 130, 29},
    {420, 123, 39, 22},
    {420, 22, 64, 23},
    {409, 690},
    {692, 220, 236, 372},
    {692, 220, 235, 331},
    {692, 220, 138, 331},
    {840, 220, 87, 331},
    {692, 473, 208, 78},
    {692, 513, 208, 78},
};

const std::array<PageLayout, 3>& layouts() {
    static const std::array<PageLayout, 3> all = [] {
        std::array<PageLayout, 3> pages = kLayouts;
        for (PageLayout& page : pages) {
            const ModelDescription& model = *modelDescription(page.model);
            page.rules = model.slotRules;
            page.stickSelector = model.dual.slot != 0;
        }
        return pages;
    }();
    return all;
}

} // namespace

const PageArt& pageArt() {
    return kArt;
}

const PageLayout& pageLayout(int model) {
    return layouts()[static_cast<std::size_t>(model >= 1 && model <= 3 ? model - 1 : 0)];
}

const SlotPlace* slotPlace(int model, int slot) {
    for (const SlotPlace& place : pageLayout(model).slotPlaces) {
        if (place.slot == slot) {
            return &place;
        }
    }
    return nullptr;
}

const ControlPlace* controlPlace(int model, int id) {
    for (const ControlPlace& place : pageLayout(model).controls) {
        if (place.id == id) {
            return &place;
        }
    }
    return nullptr;
}

bool slotShownInMode(int model, int mode, int slot) {
    const SlotRules& rules = pageLayout(model).rules;
    if (std::find(rules.alwaysHidden.begin(), rules.alwaysHidden.end(), slot) != rules.alwaysHidden.end()) {
        return false;
    }
    if (slot >= rules.keyboardFirst && slot <= rules.keyboardLast) {
        return mode == kModeKeyboard;
    }
    return slotPlace(model, slot) != nullptr;
}

bool isMouseOnlySlot(int model, int slot) {
    const auto& only = pageLayout(model).rules.mouseOnly;
    return slot != 0 && std::find(only.begin(), only.end(), slot) != only.end();
}

} // namespace zav
