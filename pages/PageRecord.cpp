#include "pages/PageRecord.h"

#include <array>
#include <cstddef>
#include <utility>

namespace zav {
namespace {

bool fits(int model, std::size_t size) {
    const int expected = recordSize(model);
    return expected > 0 && size == static_cast<std::size_t>(expected);
}

// The key index shown on a slot whose own index `index` is exchanged in PS3 mode.
int ps3Partner(const ModelDescription& m, int index) {
    for (const auto& [a, b] : m.ps3Exchange) {
        if (a == 0 && b == 0) {
            continue;
        }
        if (index == a) {
            return b;
        }
        if (index == b) {
            return a;
        }
    }
    return index;
}

// Collecting leaves the extra slots that keyboard mode owns (the second model's 24..27) alone in the
// other modes; the rest (its slot 28) are collected in every mode.
bool pageWritesSlot(const ModelDescription& m, int mode, int slot) {
    if (m.extra.has(slot) && slot < m.extra.firstSlot + m.extra.keyboardOnly) {
        return mode == kModeKeyboard;
    }
    return true;
}

} // namespace

int slotRecordByte(int model, int mode, int slot, StickSelector selector) {
    const ModelDescription* m = modelDescription(model);
    if (m == nullptr || slot < 1 || slot > m->keySlots) {
        return -1;
    }
    if (m->dual.slot != 0 && slot == m->dual.slot) {
        return selector == StickSelector::LStick ? m->dual.stickIndex : m->dual.dpadIndex;
    }
    if (m->extra.has(slot)) {
        return m->extra.firstByte + (slot - m->extra.firstSlot);
    }
    const int index = slotToIndex(model, slot);
    return mode == kModePs3 ? ps3Partner(*m, index) : index;
}

SlotLabels showRecord(int model, int mode, std::span<const std::uint8_t> record, StickSelector selector) {
    SlotLabels labels;
    if (!fits(model, record.size())) {
        return labels;
    }
    for (int slot = 1; slot <= slotCount(model); ++slot) {
        const int byte = slotRecordByte(model, mode, slot, selector);
        labels[static_cast<std::size_t>(slot)] =
            codeToLabel(model, mode, record[static_cast<std::size_t>(byte)]);
    }
    return labels;
}

bool collectPage(int model, int mode, const SlotLabels& labels, std::span<std::uint8_t> record,
                 bool switchOn) {
    const ModelDescription* m = modelDescription(model);
    if (m == nullptr || !fits(model, record.size())) {
        return false;
    }
    for (int slot = 1; slot <= m->keySlots; ++slot) {
        if ((m->dual.slot != 0 && slot == m->dual.slot) || !pageWritesSlot(*m, mode, slot)) {
            continue;
        }
        // The selector does not matter here: the dual slot is the only slot it changes.
        const auto byte = static_cast<std::size_t>(slotRecordByte(model, mode, slot, StickSelector::DPad));
        const auto& label = labels[static_cast<std::size_t>(slot)];
        record[byte] = label ? labelToCode(model, mode, *label) : kMissingButtonCode;
    }
    if (m->switchByte >= 0) {
        record[static_cast<std::size_t>(m->switchByte)] = switchOn ? 1 : 0;
    }
    return true;
}

bool storeSlotLabel(int model, int mode, int slot, std::string_view label, std::span<std::uint8_t> record,
                    StickSelector selector) {
    const int byte = slotRecordByte(model, mode, slot, selector);
    if (byte < 0 || !fits(model, record.size()) || !pageWritesSlot(*modelDescription(model), mode, slot)) {
        return false;
    }
    record[static_cast<std::size_t>(byte)] = labelToCode(model, mode, label);
    return true;
}

bool mossSwitchOn(std::span<const std::uint8_t> record) {
    return fits(models::kMoss, record.size()) && record[record::kMossSwitch] != 0;
}

void copyToSendImage(int model, int mode, bool adapterIsThisModel, const ProfileImage& work,
                     ProfileImage& send) {
    send = work;
    if (adapterIsThisModel) {
        exchangeStoredCodes(model, mode, send);
    }
}

} // namespace zav
