#include "profiles/ProfileRecord.h"

#include "profiles/ModelDescription.h"

namespace zav {

namespace {

// Offset of the record in the image; -1 when there is no such record. A model with one record per bank
// ignores the slot.
int recordOffset(const ModelDescription* m, int slot) {
    if (m == nullptr) {
        return -1;
    }
    if (m->profileSlots == 1) {
        return 0;
    }
    if (slot < 0 || slot >= m->profileSlots) {
        return -1;
    }
    return slot * m->recordSize;
}

bool recordFits(std::span<const std::uint8_t> record, int model) {
    return recordSize(model) > 0 && record.size() == static_cast<std::size_t>(recordSize(model));
}

} // namespace

int recordBytesInBank(int model) {
    const ModelDescription* m = modelDescription(model);
    return m != nullptr ? m->profileSlots * m->recordSize : 0;
}

int recordSize(int model) {
    const ModelDescription* m = modelDescription(model);
    return m != nullptr ? m->recordSize : 0;
}

int keyBlockSize(int model) {
    const ModelDescription* m = modelDescription(model);
    return m != nullptr ? m->keyBlockSize : 0;
}

int settingsOffset(int model, SettingsField field) {
    const int index = static_cast<int>(field);
    if (keyBlockSize(model) == 0 || index < 0 || index >= record::kSettingsCount) {
        return -1;
    }
    return keyBlockSize(model) + index;
}

std::span<std::uint8_t> recordAt(ProfileImage& image, int model, int slot) {
    const int offset = recordOffset(modelDescription(model), slot);
    if (offset < 0) {
        return {};
    }
    return std::span<std::uint8_t>(image).subspan(static_cast<std::size_t>(offset),
                                                  static_cast<std::size_t>(recordSize(model)));
}

std::span<const std::uint8_t> recordAt(const ProfileImage& image, int model, int slot) {
    const int offset = recordOffset(modelDescription(model), slot);
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
    const ModelDescription* m = modelDescription(model);
    if (m == nullptr || mode < 0 || mode >= kAssignModeCount) {
        return {};
    }
    return m->defaults[static_cast<std::size_t>(mode)];
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
