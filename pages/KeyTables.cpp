#include "pages/KeyTables.h"

#include <algorithm>
#include <span>

namespace zav {
namespace {

std::string_view consoleLabel(const ConsoleLabels& entry, int mode) {
    switch (mode) {
    case kModePs4:
        return entry.ps4;
    case kModePs3:
        return entry.ps3;
    default:
        return entry.pc;
    }
}

// Keyboard mode: HID keyboard usages for ordinary keys, the adapter's own codes from 238 up.
struct KeyboardLabel {
    std::uint8_t code;
    std::string_view label;
};

constexpr auto kKeyboard = std::to_array<KeyboardLabel>({
    {0, kLabelNoFunction},
    {4, "A"},
    {5, "B"},
    {6, "C"},
    {7, "D"},
    {8, "E"},
    {9, "F"},
    {10, "G"},
    {11, "H"},
    {12, "I"},
    {13, "J"},
    {14, "K"},
    {15, "L"},
    {16, "M"},
    {17, "N"},
    {18, "O"},
    {19, "P"},
    {20, "Q"},
    {21, "R"},
    {22, "S"},
    {23, "T"},
    {24, "U"},
    {25, "V"},
    {26, "W"},
    {27, "X"},
    {28, "Y"},
    {29, "Z"},
    {30, "1"},
    {31, "2"},
    {32, "3"},
    {33, "4"},
    {34, "5"},
    {35, "6"},
    {36, "7"},
    {37, "8"},
    {38, "9"},
    {39, "0"},
    {40, "Enter"},
    {41, "Esc"},
    {42, "BS"},
    {43, "Tab"},
    {44, "Space"},
    {45, "-"},
    {46, "="},
    {47, "["},
    {48, "]"},
    {49, "\\"},
    {51, ";"},
    {52, "''"},
    {53, "~"},
    {54, ","},
    {55, "."},
    {56, "?"},
    {57, "Caps"},
    {58, "F1"},
    {59, "F2"},
    {60, "F3"},
    {61, "F4"},
    {62, "F5"},
    {63, "F6"},
    {64, "F7"},
    {65, "F8"},
    {66, "F9"},
    {67, "F10"},
    {68, "F11"},
    {69, "F12"},
    {70, "Print"},
    {71, "ScrLk"},
    {72, "Pause"},
    {73, "Ins"},
    {74, "Home"},
    {75, "PgUp"},
    {76, "Del"},
    {77, "End"},
    {78, "PgDo"},
    {79, "\u2192"},
    {80, "\u2190"},
    {81, "\u2193"},
    {82, "\u2191"},
    {83, "NumLk"},
    {84, "Num/"},
    {85, "Num*"},
    {86, "Num-"},
    {87, "Num+"},
    {88, "NumEt"},
    {89, "Num1"},
    {90, "Num2"},
    {91, "Num3"},
    {92, "Num4"},
    {93, "Num5"},
    {94, "Num6"},
    {95, "Num7"},
    {96, "Num8"},
    {97, "Num9"},
    {98, "Num0"},
    {99, "Num."},
    {101, "App"},
    {238, "ScrUp"},
    {239, "ScrDo"},
    {240, "LCtrl"},
    {241, "LSft"},
    {242, "LAlt"},
    {243, "LWin"},
    {244, "RCtrl"},
    {245, "RSft"},
    {246, "RAlt"},
    {247, "RWin"},
    {248, "MsL"},
    {249, "MsR"},
    {250, "MsM"},
    {251, "Back"},
    {252, "Forwd"},
    {253, "Sd+"},
    {254, "Sd-"},
});

// Keyboard mode's "Fn", on the models that know it.
constexpr KeyboardLabel kKeyboardFn = {kMossKeyboardFnCode, kLabelFn};

// The square and the arrows: original character, the symbol it is drawn as.
struct SymbolLabel {
    std::string_view label;
    std::string_view symbol;
};

constexpr std::array<SymbolLabel, 13> kSymbols = {{
    {kLabelSquare, "\u25A1"},
    {kLabelDpadUp, "\u2191"},
    {kLabelDpadDown, "\u2193"},
    {kLabelDpadLeft, "\u2190"},
    {kLabelDpadRight, "\u2192"},
    {kLabelStickUp, "\u2B06"},
    {kLabelStickDown, "\u2B07"},
    {kLabelStickLeft, "\u2B05"},
    {kLabelStickRight, "\u27A1"},
    {kLabelStickUpLeft, "\u2B09"},
    {kLabelStickUpRight, "\u2B08"},
    {kLabelStickDownLeft, "\u2B0B"},
    {kLabelStickDownRight, "\u2B0A"},
}};

const SymbolLabel* findSymbol(std::string_view label) {
    const auto it = std::find_if(kSymbols.begin(), kSymbols.end(),
                                 [label](const SymbolLabel& s) { return s.label == label; });
    return it == kSymbols.end() ? nullptr : &*it;
}

std::span<const std::uint8_t> slotIndexTable(const ModelDescription* m) {
    return m != nullptr ? m->slotIndex : std::span<const std::uint8_t>();
}

} // namespace

int slotControlId(int slot) {
    if (slot < 1 || slot > kMaxKeySlot) {
        return 0;
    }
    return kSlotControlIds[static_cast<std::size_t>(slot)];
}

int slotForControlId(int id) {
    if (id == 0) {
        return 0;
    }
    const auto it = std::find(kSlotControlIds.begin(), kSlotControlIds.end(), id);
    return it == kSlotControlIds.end() ? 0 : static_cast<int>(it - kSlotControlIds.begin());
}

int slotCount(int model) {
    const ModelDescription* m = modelDescription(model);
    return m != nullptr ? m->keySlots : 0;
}

int slotToIndex(int model, int slot) {
    const auto table = slotIndexTable(modelDescription(model));
    if (slot < 1 || static_cast<std::size_t>(slot) >= table.size()) {
        return 0;
    }
    return table[static_cast<std::size_t>(slot)];
}

int indexToSlot(int model, int index) {
    const ModelDescription* m = modelDescription(model);
    if (m != nullptr && m->dual.slot != 0 && index == m->dual.stickIndex) {
        return m->dual.slot;
    }
    const auto table = slotIndexTable(m);
    for (std::size_t slot = 1; slot < table.size(); ++slot) {
        if (table[slot] == index) {
            return static_cast<int>(slot);
        }
    }
    return 0;
}

std::string codeToLabel(int model, int mode, std::uint8_t code) {
    const ModelDescription* m = modelDescription(model);
    if (m == nullptr) {
        return {};
    }
    if (mode == kModeKeyboard) {
        if (m->keyboardFn && code == kKeyboardFn.code) {
            return std::string(kKeyboardFn.label);
        }
        const auto it = std::find_if(kKeyboard.begin(), kKeyboard.end(),
                                     [code](const KeyboardLabel& k) { return k.code == code; });
        return it == kKeyboard.end() ? std::string() : std::string(it->label);
    }
    if (mode < kModePs4 || mode > kModePcPad) {
        return {};
    }
    const auto table = m->consoleCodes;
    return code < table.size() ? std::string(consoleLabel(table[code], mode)) : std::string();
}

std::uint8_t labelToCode(int model, int mode, std::string_view label) {
    const ModelDescription* m = modelDescription(model);
    if (m == nullptr || label.empty()) {
        return 0;
    }
    if (mode == kModeKeyboard) {
        if (m->keyboardFn && label == kKeyboardFn.label) {
            return kKeyboardFn.code;
        }
        const auto it = std::find_if(kKeyboard.begin(), kKeyboard.end(),
                                     [label](const KeyboardLabel& k) { return k.label == label; });
        return it == kKeyboard.end() ? 0 : it->code;
    }
    if (mode < kModePs4 || mode > kModePcPad) {
        return 0;
    }
    const auto table = m->consoleCodes;
    for (std::size_t code = 0; code < table.size(); ++code) {
        if (consoleLabel(table[code], mode) == label) {
            return static_cast<std::uint8_t>(code);
        }
    }
    return 0;
}

bool isWingdingsLabel(std::string_view label) {
    return findSymbol(label) != nullptr;
}

std::string wingdingsToUnicode(std::string_view label) {
    const SymbolLabel* symbol = findSymbol(label);
    return std::string(symbol ? symbol->symbol : label);
}

} // namespace zav
