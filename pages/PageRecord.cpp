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

// First model, PS3 bank: these index pairs are shown on each other's slots.
constexpr std::array<std::pair<int, int>, 2> kKitePs3Exchange = {{{29, 31}, {30, 32}}};

int kitePs3Partner(int index) {
    for (const auto& [a, b] : kKitePs3Exchange) {
        if (index == a) {
            return b;
        }
        if (index == b) {
            return a;
        }
    }
    return index;
}

bool isMossExtraSlot(int slot) {
    return slot >= kMossFirstExtraSlot && slot <= kMossLastExtraSlot;
}

// Collecting leaves the second model's slots 24..27 alone outside keyboard mode; slot 28 is
// collected in every mode.
bool pageWritesSlot(int model, int mode, int slot) {
    if (model == models::kMoss && isMossExtraSlot(slot) &&
        slot < kMossFirstExtraSlot + record::kMossExtraKeyCount) {
        return mode == kModeKeyboard;
    }
    return true;
}

} // namespace

int slotRecordByte(int model, int mode, int slot, StickSelector selector) {
    if (slot < 1 || slot > slotCount(model)) {
        return -1;
    }
    switch (model) {
    case models::kKite:
        if (slot == kKiteDualSlot) {
            return selector == StickSelector::LStick ? kKiteDualStickIndex : kKiteDualDpadIndex;
        }
        return mode == kModePs3 ? kitePs3Partner(slotToIndex(model, slot)) : slotToIndex(model, slot);
    case models::kMoss:
        if (isMossExtraSlot(slot)) {
            return record::kMossExtraKeys + (slot - kMossFirstExtraSlot);
        }
        return slotToIndex(model, slot);
    default:
        return slotToIndex(model, slot);
    }
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
    if (!fits(model, record.size())) {
        return false;
    }
    for (int slot = 1; slot <= slotCount(model); ++slot) {
        if ((model == models::kKite && slot == kKiteDualSlot) || !pageWritesSlot(model, mode, slot)) {
            continue;
        }
        // The selector does not matter here: slot 22 is the only slot it changes.
        const auto byte = static_cast<std::size_t>(slotRecordByte(model, mode, slot, StickSelector::DPad));
        const auto& label = labels[static_cast<std::size_t>(slot)];
        record[byte] = label ? labelToCode(model, mode, *label) : kMissingButtonCode;
    }
    if (model == models::kMoss) {
        record[record::kMossSwitch] = switchOn ? 1 : 0;
    }
    return true;
}

bool storeSlotLabel(int model, int mode, int slot, std::string_view label, std::span<std::uint8_t> record,
                    StickSelector selector) {
    const int byte = slotRecordByte(model, mode, slot, selector);
    if (byte < 0 || !fits(model, record.size()) || !pageWritesSlot(model, mode, slot)) {
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
