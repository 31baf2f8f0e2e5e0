#include "profiles/ModelDescription.h"

#include "profiles/ProfileFile.h"

#include <algorithm>

namespace zav {

namespace {

// --- default records -----------------------------------------------------------------------------

template <std::size_t N>
using DefaultTable = std::array<std::int16_t, N>;

constexpr std::int16_t kK = kKeepByte;

// Default records, record offset 0 first, ten bytes a line. kK: the reset leaves the byte alone.
// clang-format off
constexpr DefaultTable<record::kKiteSize> kKiteMode0 = {
    0x05, 0x1D, 0x14, 0x13, 0x07, 0x0C, 0x01, 0x04, 0x0E, 0x16,
    0x0D, 0x02, 0x09, 0x0A, 0x09, 0x1B, 0x00, 0x1C, 0x0B, 0x06,
    0x08, 0x15, 0x00, 0x22, 0x03, 0x21, 0x1F, 0x20, 0x1E, 0x04,
    0x05, 0x06, 0x07, 0x0C, 0x0B, 0x0E, 0x0E, 0x04, 0x05, 0x06,
    0x07, 0x03, 0x0A, 0x08, kK,   kK,   kK,   kK,   0x07, 0x07,
    0x04, 0x04, 0x04, 0x04, 0x1E, 0x1E, 0x28, 0x00, 0x00, 0x04,
};

constexpr DefaultTable<record::kKiteSize> kKiteMode1 = {
    0x07, 0x1D, 0x14, 0x13, 0x05, 0x0C, 0x01, 0x06, 0x0E, 0x16,
    0x0D, 0x02, 0x09, 0x0A, 0x09, 0x1B, 0x00, 0x1C, 0x0B, 0x04,
    0x08, 0x15, 0x00, 0x22, 0x03, 0x21, 0x1F, 0x20, 0x1E, 0x04,
    0x05, 0x06, 0x07, 0x0C, 0x0B, 0x0E, 0x0E, 0x04, 0x05, 0x06,
    0x07, 0x03, 0x0A, 0x08, kK,   kK,   kK,   kK,   0x07, 0x07,
    0x04, 0x04, 0x04, 0x04, 0x1E, 0x1E, 0x28, 0x00, 0x00, 0x04,
};

constexpr DefaultTable<record::kKiteSize> kKiteMode3 = {
    0x20, 0xF3, 0x16, 0x1A, 0x1F, 0x1B, 0x2C, 0x08, 0x0A, 0x07,
    0x00, 0x15, 0xFA, 0x19, 0x09, 0x21, 0x06, 0x29, 0x2B, 0x1E,
    0xF1, 0x04, 0xF0, 0x1D, 0x14, 0x07, 0x16, 0x04, 0x1A, 0xFC,
    0xFB, 0xF9, 0xF8, 0x15, 0x09, 0x00, 0x00, 0x04, 0x05, 0x06,
    0x07, 0x03, 0x0A, 0xF1, 0x10, 0x10, 0x10, 0x10, 0x07, 0x07,
    0x04, 0x04, 0x04, 0x04, 0x1E, 0x1E, 0x28, 0x00, 0x00, 0x04,
};

constexpr DefaultTable<record::kFernSize> kFernMode0 = {
    0x1B, 0x03, 0x11, 0x04, 0x02, 0x1A, 0x0B, 0x13, 0x12, 0x14,
    0x19, 0x05, 0x08, 0x1C, 0x00, 0x09, 0x00, 0x0A, 0x01, 0x07,
    0x06, 0x09, 0x04, 0x05, 0x19, 0x0B, 0x0C, 0x0C, 0x1E, 0x1F,
    0x20, 0x21, 0x22, 0x0C, 0x1D, 0x04, 0x05, 0x03, 0x0A, 0x0C,
    0x0C, 0x0C, 0x0C, 0x07, 0x07, 0x04, 0x04, 0x04, 0x04, 0x1E,
    0x1E, 0x28, 0x00, 0x00, 0x04,
};

constexpr DefaultTable<record::kFernSize> kFernMode1 = {
    0x1B, 0x03, 0x11, 0x06, 0x02, 0x1A, 0x0B, 0x13, 0x12, 0x14,
    0x19, 0x07, 0x08, 0x1C, 0x00, 0x09, 0x00, 0x0A, 0x01, 0x05,
    0x04, 0x09, 0x06, 0x07, 0x19, 0x0B, 0x0C, 0x0C, 0x1E, 0x1F,
    0x20, 0x21, 0x22, 0x0C, 0x1D, 0x06, 0x07, 0x03, 0x0A, 0x0C,
    0x0C, 0x0C, 0x0C, 0x07, 0x07, 0x04, 0x04, 0x04, 0x04, 0x1E,
    0x1E, 0x28, 0x00, 0x00, 0x04,
};

constexpr DefaultTable<record::kFernSize> kFernMode3 = {
    0x29, 0x14, 0x1A, 0x08, 0x15, 0x17, 0x2B, 0x04, 0x16, 0x07,
    0x09, 0x0A, 0xF1, 0x1B, 0x06, 0x19, 0xF0, 0x1D, 0x2C, 0xF8,
    0xF9, 0xFA, 0xFC, 0xFB, 0x15, 0x09, 0x00, 0x00, 0xF3, 0x1A,
    0x16, 0x04, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10,
    0x10, 0x10, 0x10, 0x07, 0x07, 0x04, 0x04, 0x04, 0x04, 0x1E,
    0x1E, 0x28, 0x00, 0x00, 0x04,
};

// Outside keyboard mode the page owns the extra key codes and the switch, so a reset keeps them.
constexpr DefaultTable<record::kMossSize> kMossMode0 = {
    0x01, 0x00, 0x02, 0x03, 0x12, 0x04, 0x05, 0x06, 0x07, 0x08,
    0x13, 0x09, 0x15, 0x0C, 0x0B, 0x0A, 0x0D, 0x08, 0x09, 0x15,
    0x14, 0x0E, 0x0F, 0x10, 0x11, 0x16, 0x16, 0x17, 0x18, 0x19,
    0x1A, 0x08, 0x09, 0x0A, 0x0B, 0x03, 0x13, 0x07, 0x07, 0x04,
    0x04, 0x04, 0x04, 0x1E, 0x1E, 0x28, 0x64, 0x00, 0x04, kK,
    kK,   kK,   kK,   kK,   kK,
};

constexpr DefaultTable<record::kMossSize> kMossMode1 = {
    0x01, 0x00, 0x02, 0x03, 0x12, 0x04, 0x05, 0x06, 0x07, 0x0A,
    0x13, 0x0B, 0x15, 0x0C, 0x09, 0x08, 0x0D, 0x0A, 0x0B, 0x15,
    0x14, 0x0E, 0x0F, 0x10, 0x11, 0x16, 0x16, 0x17, 0x18, 0x19,
    0x1A, 0x08, 0x09, 0x0A, 0x0B, 0x03, 0x13, 0x07, 0x07, 0x04,
    0x04, 0x04, 0x04, 0x1E, 0x1E, 0x28, 0x64, 0x00, 0x04, kK,
    kK,   kK,   kK,   kK,   kK,
};

constexpr DefaultTable<record::kMossSize> kMossMode3 = {
    0x2C, 0xF0, 0x15, 0x14, 0xFF, 0x1E, 0x20, 0x21, 0x1F, 0x1B,
    0x0A, 0x08, 0x19, 0xF1, 0xF8, 0xF9, 0xFA, 0xFC, 0xFB, 0x15,
    0x09, 0x00, 0x2B, 0x29, 0xF3, 0x00, 0x00, 0x1A, 0x16, 0x04,
    0x07, 0xFC, 0xFB, 0x00, 0x00, 0x00, 0x00, 0x07, 0x07, 0x04,
    0x04, 0x04, 0x04, 0x1E, 0x1E, 0x28, 0x64, 0x00, 0x04, 0x10,
    0x10, 0x10, 0x10, 0x28, 0x00,
};

// The settings block is the same in every mode; only MOSS keeps its backlight byte at 100.
constexpr std::array<std::int16_t, record::kSettingsCount> kDefaultSettings = {
    0x07, 0x07, 0x04, 0x04, 0x04, 0x04, 0x1E, 0x1E, 0x28, 0x00, 0x00, 0x04};
constexpr std::array<std::int16_t, record::kSettingsCount> kMossDefaultSettings = {
    0x07, 0x07, 0x04, 0x04, 0x04, 0x04, 0x1E, 0x1E, 0x28, 0x64, 0x00, 0x04};
// clang-format on

template <std::size_t N>
constexpr bool settingsBlockIs(const DefaultTable<N>& table, int keyBlock,
                               const std::array<std::int16_t, record::kSettingsCount>& settings) {
    for (int i = 0; i < record::kSettingsCount; ++i) {
        if (table[static_cast<std::size_t>(keyBlock + i)] != settings[static_cast<std::size_t>(i)]) {
            return false;
        }
    }
    return true;
}

// A slipped byte in a table shows up here rather than in a user's adapter.
static_assert(settingsBlockIs(kKiteMode0, record::kKiteKeyBlockSize, kDefaultSettings));
static_assert(settingsBlockIs(kKiteMode1, record::kKiteKeyBlockSize, kDefaultSettings));
static_assert(settingsBlockIs(kKiteMode3, record::kKiteKeyBlockSize, kDefaultSettings));
static_assert(settingsBlockIs(kFernMode0, record::kFernKeyBlockSize, kDefaultSettings));
static_assert(settingsBlockIs(kFernMode1, record::kFernKeyBlockSize, kDefaultSettings));
static_assert(settingsBlockIs(kFernMode3, record::kFernKeyBlockSize, kDefaultSettings));
static_assert(settingsBlockIs(kMossMode0, record::kMossKeyBlockSize, kMossDefaultSettings));
static_assert(settingsBlockIs(kMossMode1, record::kMossKeyBlockSize, kMossDefaultSettings));
static_assert(settingsBlockIs(kMossMode3, record::kMossKeyBlockSize, kMossDefaultSettings));

// --- profile files -------------------------------------------------------------------------------

constexpr std::size_t field(int keyBlock, SettingsField f) {
    return static_cast<std::size_t>(keyBlock) + static_cast<std::size_t>(f);
}

constexpr std::array<FileSegment, 4> kKiteFile = {{
    {0, 0, field(record::kKiteKeyBlockSize, SettingsField::backLightOff)}, // key codes, s0..s8
    {profilefile::kKiteAdsLock, field(record::kKiteKeyBlockSize, SettingsField::adsLock), 1},
    {profilefile::kKiteBackLightOff, field(record::kKiteKeyBlockSize, SettingsField::backLightOff), 1},
    {profilefile::kKiteSensitivity, field(record::kKiteKeyBlockSize, SettingsField::sensitivity), 1},
}};

constexpr std::array<FileSegment, 2> kMossFile = {{
    {0, 0, record::kMossLastKey}, // key codes, s0..s11, four extra key codes
    {profilefile::kMossLastKey, record::kMossLastKey, 2},
}};

constexpr std::array<FileSegment, 4> kFernFile = {{
    {0, 0, field(record::kFernKeyBlockSize, SettingsField::backLightOff)}, // key codes, s0..s8
    {profilefile::kFernAdsLock, field(record::kFernKeyBlockSize, SettingsField::adsLock), 1},
    {profilefile::kFernBackLightOff, field(record::kFernKeyBlockSize, SettingsField::backLightOff), 1},
    {profilefile::kFernSensitivity, field(record::kFernKeyBlockSize, SettingsField::sensitivity), 1},
}};

// Every record byte has exactly one place in the file, away from the mode byte and the marker.
constexpr bool fileLayoutIsSound(std::span<const FileSegment> segments, std::size_t modeOffset,
                                 std::size_t recordSize) {
    std::array<int, kProfileFileSize> fileUse{};
    std::array<int, record::kMaxSize> recordUse{};
    fileUse[modeOffset] += 1;
    fileUse[profilefile::kModelMarker] += 1;
    for (const FileSegment& seg : segments) {
        for (std::size_t i = 0; i < seg.length; ++i) {
            fileUse[seg.file + i] += 1;
            recordUse[seg.record + i] += 1;
        }
    }
    for (std::size_t i = 0; i < kProfileFileSize; ++i) {
        if (fileUse[i] > 1) {
            return false;
        }
    }
    for (std::size_t i = 0; i < record::kMaxSize; ++i) {
        if (recordUse[i] != (i < recordSize ? 1 : 0)) {
            return false;
        }
    }
    return true;
}

// --- key slots and codes -------------------------------------------------------------------------

// Slot -> DeviceKeyIndex per model; entry 0 is unused.
constexpr std::array<std::uint8_t, 36> kKiteSlotIndex = {0,  17, 19, 4,  0,  15, 18, 24, 3,  7,  11, 20,
                                                         21, 2,  9,  14, 22, 23, 5,  16, 13, 6,  8,  32,
                                                         31, 12, 29, 30, 33, 34, 35, 36, 44, 45, 46, 47};
constexpr std::array<std::uint8_t, 24> kMossSlotIndex = {0,  0,  1,  2,  3,  4,  13, 5,  6, 7,  8,  14,
                                                         15, 16, 17, 18, 19, 20, 25, 26, 9, 10, 11, 12};
constexpr std::array<std::uint8_t, 33> kFernSlotIndex = {0,  0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                                         10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                                                         21, 22, 23, 24, 25, 26, 27, 39, 40, 41, 42};

constexpr ConsoleLabels same(std::string_view label) {
    return {label, label, label};
}

// Index = FunctionCode.
constexpr std::array<ConsoleLabels, 35> kKiteConsole = {{
    {kLabelCircle, kLabelCircle, "B"},
    {kLabelCross, kLabelCross, "A"},
    {kLabelSquare, kLabelSquare, "X"},
    {kLabelTriangle, kLabelTriangle, "Y"},
    {"L1", "L1", "LB"},
    {"R1", "R1", "RB"},
    {"L2", "L2", "LT"},
    {"R2", "R2", "RT"},
    {"L3", "L3", "LSB"},
    {"R3", "R3", "RSB"},
    same(kLabelWalk),
    same(kLabelQuick),
    same(kLabelSnipe),
    same(kLabelTouchPad),
    same(kLabelNoFunction),
    same(kLabelDpadUp),
    same(kLabelDpadDown),
    same(kLabelDpadLeft),
    same(kLabelDpadRight),
    same(kLabelStickUp),
    same(kLabelStickDown),
    same(kLabelStickLeft),
    same(kLabelStickRight),
    same(kLabelStickUpLeft),
    same(kLabelStickUpRight),
    same(kLabelStickDownLeft),
    same(kLabelStickDownRight),
    {"Sh", "Sel", "Bac"},
    {"Op", "Sta", "Sta"},
    {"PS", "PS", "Home"},
    same(""),
    same(""),
    same(""),
    same(""),
    same(kLabelFn),
}};

constexpr std::array<ConsoleLabels, 27> kMossConsole = {{
    {kLabelCircle, kLabelCircle, "B"},
    {kLabelCross, kLabelCross, "A"},
    {kLabelSquare, kLabelSquare, "X"},
    {kLabelTriangle, kLabelTriangle, "Y"},
    same(kLabelDpadUp),
    same(kLabelDpadDown),
    same(kLabelDpadLeft),
    same(kLabelDpadRight),
    {"L1", "L1", "LB"},
    {"R1", "R1", "RB"},
    {"L2", "L2", "LT"},
    {"R2", "R2", "RT"},
    {"L3", "L3", "LSB"},
    {"R3", "R3", "RSB"},
    same(kLabelTouchPad),
    {"Sh", "Sel", "Bac"},
    {"Op", "Sta", "Sta"},
    {"PS", "PS", "Home"},
    same(kLabelFn),
    same(kLabelWalk),
    same(kLabelQuick),
    same(kLabelSnipe),
    same(kLabelNoFunction),
    same(kLabelStickUp),
    same(kLabelStickDown),
    same(kLabelStickLeft),
    same(kLabelStickRight),
}};

constexpr std::array<ConsoleLabels, 31> kFernConsole = {{
    {kLabelCircle, kLabelCircle, "B"},
    {kLabelCross, kLabelCross, "A"},
    {kLabelSquare, kLabelSquare, "X"},
    {kLabelTriangle, kLabelTriangle, "Y"},
    {"L1", "L1", "LB"},
    {"R1", "R1", "RB"},
    {"L2", "L2", "LT"},
    {"R2", "R2", "RT"},
    {"L3", "L3", "LSB"},
    {"R3", "R3", "RSB"},
    same(kLabelWalk),
    same(kLabelQuick),
    same(kLabelNoFunction),
    same(kLabelDpadUp),
    same(kLabelDpadDown),
    same(kLabelDpadLeft),
    same(kLabelDpadRight),
    same(kLabelStickUp),
    same(kLabelStickDown),
    same(kLabelStickLeft),
    same(kLabelStickRight),
    same(kLabelStickUpLeft),
    same(kLabelStickUpRight),
    same(kLabelStickDownLeft),
    same(kLabelStickDownRight),
    same(kLabelSnipe),
    {"Sh", "Sel", "Bac"},
    {"Op", "Sta", "Sta"},
    same(kLabelFn),
    same(kLabelTouchPad),
    {"PS", "PS", "Home"},
}};

// --- the three models ----------------------------------------------------------------------------

constexpr std::array<ModelDescription, 3> kModels = {{
    {
        .model = models::kKite,
        .key = "kite",
        .name = "ZAV KITE",
        .adapter = adapterModel(models::kKite),
        .recordSize = record::kKiteSize,
        .keyBlockSize = record::kKiteKeyBlockSize,
        .profileSlots = record::kSlotCount,
        .defaults = {kKiteMode0, kKiteMode1, kKiteMode0, kKiteMode3},
        .fileModeOffset = profilefile::kKiteMode,
        .fileSegments = kKiteFile,
        .folder = "ZAV KITE",
        .officialPrefix = "ZAV_A1_",
        .firstProfileFromPageSlot = true,
        .keySlots = 35,
        .slotIndex = kKiteSlotIndex,
        .consoleCodes = kKiteConsole,
        .dual = {kKiteDualSlot, kKiteDualDpadIndex, kKiteDualStickIndex},
        .ps3Exchange = {{{29, 31}, {30, 32}}},
        .slotRules = {{28, 29}, 32, 35, {0, 0}},
        .fnSlot = 17,
        .fixedKeys = {{{1, {"Option", "Start"}}, {5, {"Share", "Select"}}}},
        .texts = modelTexts(models::kKite),
    },
    {
        .model = models::kMoss,
        .key = "moss",
        .name = "ZAV MOSS",
        .adapter = adapterModel(models::kMoss),
        .recordSize = record::kMossSize,
        .keyBlockSize = record::kMossKeyBlockSize,
        .profileSlots = record::kMossSlotCount,
        .defaults = {kMossMode0, kMossMode1, kMossMode0, kMossMode3},
        .fileModeOffset = profilefile::kMossMode,
        .fileSegments = kMossFile,
        .folder = "ZAV 5230",
        .officialPrefix = "ZAV_B1_",
        .keySlots = 28,
        .slotIndex = kMossSlotIndex,
        .consoleCodes = kMossConsole,
        .keyboardFn = true,
        .extra = {kMossFirstExtraSlot, kMossLastExtraSlot - kMossFirstExtraSlot + 1, record::kMossExtraKeys,
                  record::kMossExtraKeyCount},
        .switchByte = record::kMossSwitch,
        .leftStickByte = record::kMossLeftStick,
        .slotRules = {{0, 0}, 24, 28, {16, 17}},
        .fnSlot = 5,
        .backLightSwitch = false,
        .texts = modelTexts(models::kMoss),
    },
    {
        .model = models::kFern,
        .key = "fern",
        .name = "ZAV FERN",
        .adapter = adapterModel(models::kFern),
        .recordSize = record::kFernSize,
        .keyBlockSize = record::kFernKeyBlockSize,
        .profileSlots = record::kSlotCount,
        .defaults = {kFernMode0, kFernMode1, kFernMode0, kFernMode3},
        .fileModeOffset = profilefile::kFernMode,
        .fileSegments = kFernFile,
        .folder = "ZAV 5270",
        .officialPrefix = "ZAV_C1_",
        .keySlots = 32,
        .slotIndex = kFernSlotIndex,
        .consoleCodes = kFernConsole,
        .slotRules = {{0, 0}, 29, 32, {25, 26}},
        .fnSlot = 14,
        .fixedKeys = {{{1, {"Option", "Start"}}, {6, {"Share", "Select"}}}},
        .texts = modelTexts(models::kFern),
    },
}};

// What the rest of the program takes for granted of every description.
constexpr bool isSound(const ModelDescription& m) {
    const auto bankBytes = static_cast<std::size_t>(m.profileSlots * m.recordSize);
    for (const std::span<const std::int16_t> defaults : m.defaults) {
        if (defaults.size() != static_cast<std::size_t>(m.recordSize)) {
            return false;
        }
    }
    // A null adapter or texts pointer fails here too: reading through it is no constant expression (and a
    // comparison with nullptr is none under the undefined-behaviour sanitizer).
    return m.adapter->model == m.model && m.texts->model == m.model &&
           m.texts->profileSlots.size() == static_cast<std::size_t>(m.profileSlots) &&
           m.recordSize <= record::kMaxSize && m.keyBlockSize + record::kSettingsCount <= m.recordSize &&
           bankBytes <= std::tuple_size_v<ProfileImage> &&
           m.slotIndex.size() <= static_cast<std::size_t>(m.keySlots) + 1 && m.keySlots <= kMaxKeySlot &&
           m.slotRules.keyboardLast == m.keySlots &&
           fileLayoutIsSound(m.fileSegments, m.fileModeOffset, static_cast<std::size_t>(m.recordSize));
}

static_assert(isSound(kModels[0]) && isSound(kModels[1]) && isSound(kModels[2]));
static_assert(kModels[0].model == 1 && kModels[1].model == 2 && kModels[2].model == 3);

} // namespace

const ModelDescription* modelDescription(int model) {
    return model >= 1 && model <= static_cast<int>(kModels.size())
               ? &kModels[static_cast<std::size_t>(model - 1)]
               : nullptr;
}

std::span<const ModelDescription> modelDescriptions() {
    return kModels;
}

int modeForItem(const ModelDescription& model, int item, int capability) {
    const ModelTexts& list = *model.texts;
    if (list.modeItems < kAssignModeCount && item == list.modeItems - 1) {
        return capability >= list.keyboardCapability ? kModeKeyboard : kModePcPad;
    }
    return item;
}

int itemForMode(const ModelDescription& model, int mode) {
    const ModelTexts& list = *model.texts;
    return list.modeItems < kAssignModeCount && mode >= list.modeItems ? list.modeItems - 1 : mode;
}

bool takesFn(const ModelDescription& model, int slot) {
    return slot == kEveryPageFnSlot || slot == model.fnSlot;
}

} // namespace zav
