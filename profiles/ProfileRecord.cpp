#include "profiles/ProfileRecord.h"

#include <algorithm>

namespace zav {

namespace {

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

struct DefaultEntry {
    int model;
    int mode;
    std::span<const std::int16_t> bytes;
};

// Modes 0 (PS4) and 2 (PC pad) share their defaults.
constexpr std::array<DefaultEntry, 12> kDefaultRecords = {{
    {models::kKite, 0, kKiteMode0},
    {models::kKite, 1, kKiteMode1},
    {models::kKite, 2, kKiteMode0},
    {models::kKite, 3, kKiteMode3},
    {models::kMoss, 0, kMossMode0},
    {models::kMoss, 1, kMossMode1},
    {models::kMoss, 2, kMossMode0},
    {models::kMoss, 3, kMossMode3},
    {models::kFern, 0, kFernMode0},
    {models::kFern, 1, kFernMode1},
    {models::kFern, 2, kFernMode0},
    {models::kFern, 3, kFernMode3},
}};

int slotCount(int model) {
    switch (model) {
    case models::kKite:
    case models::kFern:
        return record::kSlotCount;
    case models::kMoss:
        return record::kMossSlotCount;
    default:
        return 0;
    }
}

// Offset of the record in the image; -1 when there is no such record.
int recordOffset(int model, int slot) {
    if (model == models::kMoss) {
        return 0;
    }
    if (slotCount(model) == 0 || slot < 0 || slot >= slotCount(model)) {
        return -1;
    }
    return slot * recordSize(model);
}

bool recordFits(std::span<const std::uint8_t> record, int model) {
    return recordSize(model) > 0 && record.size() == static_cast<std::size_t>(recordSize(model));
}

} // namespace

int recordBytesInBank(int model) {
    return slotCount(model) * recordSize(model);
}

int recordSize(int model) {
    switch (model) {
    case models::kKite:
        return record::kKiteSize;
    case models::kMoss:
        return record::kMossSize;
    case models::kFern:
        return record::kFernSize;
    default:
        return 0;
    }
}

int keyBlockSize(int model) {
    switch (model) {
    case models::kKite:
        return record::kKiteKeyBlockSize;
    case models::kMoss:
        return record::kMossKeyBlockSize;
    case models::kFern:
        return record::kFernKeyBlockSize;
    default:
        return 0;
    }
}

int settingsOffset(int model, SettingsField field) {
    const int index = static_cast<int>(field);
    if (keyBlockSize(model) == 0 || index < 0 || index >= record::kSettingsCount) {
        return -1;
    }
    return keyBlockSize(model) + index;
}

std::span<std::uint8_t> recordAt(ProfileImage& image, int model, int slot) {
    const int offset = recordOffset(model, slot);
    if (offset < 0) {
        return {};
    }
    return std::span<std::uint8_t>(image).subspan(static_cast<std::size_t>(offset),
                                                  static_cast<std::size_t>(recordSize(model)));
}

std::span<const std::uint8_t> recordAt(const ProfileImage& image, int model, int slot) {
    const int offset = recordOffset(model, slot);
    if (offset < 0) {
        return {};
    }
    return std::span<const std::uint8_t>(image).subspan(static_cast<std::size_t>(offset),
                                                        static_cast<std::size_t>(recordSize(model)));
}

std::uint8_t settingsField(std::span<const std::uint8_t> record, int model, SettingsField field) {
    const int offset = settingsOffset(model, field);
    if (!recordFits(record, model) || offset < 0) {
        return 0;
    }
    return record[static_cast<std::size_t>(offset)];
}

bool setSettingsField(std::span<std::uint8_t> record, int model, SettingsField field, std::uint8_t value) {
    const int offset = settingsOffset(model, field);
    if (!recordFits(record, model) || offset < 0) {
        return false;
    }
    record[static_cast<std::size_t>(offset)] = value;
    return true;
}

std::uint8_t keyCode(std::span<const std::uint8_t> record, int model, int index) {
    if (!recordFits(record, model) || index < 0 || index >= keyBlockSize(model)) {
        return 0;
    }
    return record[static_cast<std::size_t>(index)];
}

bool setKeyCode(std::span<std::uint8_t> record, int model, int index, std::uint8_t code) {
    if (!recordFits(record, model) || index < 0 || index >= keyBlockSize(model)) {
        return false;
    }
    record[static_cast<std::size_t>(index)] = code;
    return true;
}

std::span<const std::int16_t> defaultRecord(int model, int mode) {
    const auto found =
        std::find_if(kDefaultRecords.begin(), kDefaultRecords.end(),
                     [&](const DefaultEntry& e) { return e.model == model && e.mode == mode; });
    return found == kDefaultRecords.end() ? std::span<const std::int16_t>() : found->bytes;
}

void resetToDefaults(ProfileImage& image, int model, int mode, int slot) {
    const std::span<const std::int16_t> defaults = defaultRecord(model, mode);
    const std::span<std::uint8_t> target = recordAt(image, model, slot);
    if (defaults.empty() || defaults.size() != target.size()) {
        return;
    }
    for (std::size_t i = 0; i < defaults.size(); ++i) {
        if (defaults[i] != kKeepByte) {
            target[i] = static_cast<std::uint8_t>(defaults[i]);
        }
    }
}

} // namespace zav
