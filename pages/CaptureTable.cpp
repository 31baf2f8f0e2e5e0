#include "pages/CaptureTable.h"

#include <algorithm>
#include <array>

namespace zav {
namespace {

struct KeyLabel {
    int virtualKey;
    std::string_view label;
};

// Every key with a fixed label; any other key captures nothing.
constexpr auto kKeyLabels = std::to_array<KeyLabel>({
    {vk::kBack, "BS"},
    {vk::kTab, "Tab"},
    {vk::kReturn, "Enter"},
    {vk::kPause, "Pause"},
    {vk::kCapital, "Caps"},
    {vk::kEscape, "Esc"},
    {vk::kSpace, "Space"},
    {vk::kPrior, "PgUp"},
    {vk::kNext, "PgDo"},
    {vk::kEnd, "End"},
    {vk::kHome, "Home"},
    {vk::kLeft, "\u2190"},
    {vk::kUp, "\u2191"},
    {vk::kRight, "\u2192"},
    {vk::kDown, "\u2193"},
    {vk::kSnapshot, "Print"},
    {vk::kInsert, "Ins"},
    {vk::kDelete, "Del"},
    {48, "0"},
    {49, "1"},
    {50, "2"},
    {51, "3"},
    {52, "4"},
    {53, "5"},
    {54, "6"},
    {55, "7"},
    {56, "8"},
    {57, "9"},
    {65, "A"},
    {66, "B"},
    {67, "C"},
    {68, "D"},
    {69, "E"},
    {70, "F"},
    {71, "G"},
    {72, "H"},
    {73, "I"},
    {74, "J"},
    {75, "K"},
    {76, "L"},
    {77, "M"},
    {78, "N"},
    {79, "O"},
    {80, "P"},
    {81, "Q"},
    {82, "R"},
    {83, "S"},
    {84, "T"},
    {85, "U"},
    {86, "V"},
    {87, "W"},
    {88, "X"},
    {89, "Y"},
    {90, "Z"},
    {vk::kLWin, "LWin"},
    {vk::kRWin, "RWin"},
    {vk::kApps, "App"},
    {96, "Num0"},
    {97, "Num1"},
    {98, "Num2"},
    {99, "Num3"},
    {100, "Num4"},
    {101, "Num5"},
    {102, "Num6"},
    {103, "Num7"},
    {104, "Num8"},
    {105, "Num9"},
    {vk::kMultiply, "Num*"},
    {vk::kAdd, "Num+"},
    {vk::kSeparator, "NumEt"},
    {vk::kSubtract, "Num-"},
    {vk::kDecimal, "Num."},
    {vk::kDivide, "Num/"},
    {112, "F1"},
    {113, "F2"},
    {114, "F3"},
    {115, "F4"},
    {116, "F5"},
    {117, "F6"},
    {118, "F7"},
    {119, "F8"},
    {120, "F9"},
    {121, "F10"},
    {122, "F11"},
    {123, "F12"},
    {vk::kNumLock, "NumLk"},
    {vk::kScroll, "ScrLk"},
    {vk::kVolumeDown, "Sd-"},
    {vk::kVolumeUp, "Sd+"},
    {vk::kOem1, ";"},
    {vk::kOemPlus, "="},
    {vk::kOemComma, ","},
    {vk::kOemMinus, "-"},
    {vk::kOemPeriod, "."},
    {vk::kOem2, "?"},
    {vk::kOem3, "~"},
    {vk::kOem4, "["},
    {vk::kOem5, "\\"},
    {vk::kOem6, "]"},
    {vk::kOem7, "''"},
});

// Shift, Ctrl and Alt take the label of the side that is down, the left side first.
struct ModifierLabel {
    int virtualKey;
    int leftKey;
    std::string_view leftLabel;
    int rightKey;
    std::string_view rightLabel;
};

constexpr std::array<ModifierLabel, 3> kModifierLabels = {{
    {vk::kShift, vk::kLShift, "LSft", vk::kRShift, "RSft"},
    {vk::kControl, vk::kLControl, "LCtrl", vk::kRControl, "RCtrl"},
    {vk::kMenu, vk::kLMenu, "LAlt", vk::kRMenu, "RAlt"},
}};

struct SideButtonLabel {
    int flags;
    std::string_view label;
};

constexpr std::array<SideButtonLabel, 2> kSideButtonLabels = {{
    {kMkXButton1, kLabelSideBack},
    {kMkXButton2, kLabelSideForward},
}};

} // namespace

std::optional<std::string> labelForVirtualKey(int virtualKey, const KeyDownQuery& isDown) {
    const auto modifier =
        std::find_if(kModifierLabels.begin(), kModifierLabels.end(),
                     [virtualKey](const ModifierLabel& m) { return m.virtualKey == virtualKey; });
    if (modifier != kModifierLabels.end()) {
        if (isDown && isDown(modifier->leftKey)) {
            return std::string(modifier->leftLabel);
        }
        if (isDown && isDown(modifier->rightKey)) {
            return std::string(modifier->rightLabel);
        }
        return std::nullopt;
    }
    const auto key = std::find_if(kKeyLabels.begin(), kKeyLabels.end(),
                                  [virtualKey](const KeyLabel& k) { return k.virtualKey == virtualKey; });
    if (key == kKeyLabels.end()) {
        return std::nullopt;
    }
    return std::string(key->label);
}

std::optional<std::string> labelForMouseInput(MouseInput input, int value) {
    switch (input) {
    case MouseInput::LeftButton:
        return std::string(kLabelMouseLeft);
    case MouseInput::MiddleButton:
        return std::string(kLabelMouseMiddle);
    case MouseInput::RightButton:
        return std::string(kLabelMouseRight);
    case MouseInput::Wheel:
        return std::string(value >= 1 ? kLabelWheelUp : kLabelWheelDown);
    case MouseInput::SideButton: {
        const auto side = std::find_if(kSideButtonLabels.begin(), kSideButtonLabels.end(),
                                       [value](const SideButtonLabel& s) { return s.flags == value; });
        if (side == kSideButtonLabels.end()) {
            return std::nullopt;
        }
        return std::string(side->label);
    }
    }
    return std::nullopt;
}

} // namespace zav
