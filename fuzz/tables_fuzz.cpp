// Drives the label tables, key capture and the page's record view with values from the input:
// - every code's label leads back to that code, in every model and mode, and a string that is no
//   label leads to no code;
// - a captured key or mouse input always has a keyboard code, whatever keys are held;
// - showing a record and collecting the page again changes only the page's own bytes, and only those
//   whose code has no label; a second round trip changes nothing.

#include "fuzz/FuzzCheck.h"
#include "pages/CaptureTable.h"
#include "pages/KeyTables.h"
#include "pages/PageRecord.h"
#include "profiles/ProfileRecord.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zav {
namespace {

constexpr int kFirstModel = models::kKite;
constexpr int kLastModel = models::kFern;

// Out-of-range models and modes are part of the input space.
int pickModel(FuzzedDataProvider& input) {
    return input.ConsumeIntegralInRange<int>(kFirstModel - 1, kLastModel + 1);
}
int pickMode(FuzzedDataProvider& input) {
    return input.ConsumeIntegralInRange<int>(kModePs4 - 1, kModeKeyboard + 1);
}

void checkCode(std::uint8_t code) {
    for (int model = kFirstModel; model <= kLastModel; ++model) {
        for (int mode = kModePs4; mode <= kModeKeyboard; ++mode) {
            const std::string label = codeToLabel(model, mode, code);
            if (!label.empty()) {
                ZAV_FUZZ_CHECK(labelToCode(model, mode, label) == code);
            }
        }
    }
}

void checkLabel(const std::string& label, int model, int mode) {
    const std::uint8_t code = labelToCode(model, mode, label);
    // Either the label is the code's own, or it is no label and gives 0.
    if (codeToLabel(model, mode, code) != label) {
        ZAV_FUZZ_CHECK(code == 0);
    }
    ZAV_FUZZ_CHECK(isWingdingsLabel(label) == (wingdingsToUnicode(label) != label));
}

// Every label capture hands out is stored as a keyboard code on each model.
void checkCaptured(const std::optional<std::string>& label) {
    if (!label) {
        return;
    }
    for (int model = kFirstModel; model <= kLastModel; ++model) {
        const std::uint8_t code = labelToCode(model, kModeKeyboard, *label);
        ZAV_FUZZ_CHECK(code != 0 && codeToLabel(model, kModeKeyboard, code) == *label);
    }
}

void checkKeyCapture(FuzzedDataProvider& input) {
    const int virtualKey =
        input.ConsumeBool() ? input.ConsumeIntegralInRange<int>(0, 255) : input.ConsumeIntegral<int>();
    std::bitset<256> held;
    for (std::size_t word = 0; word < held.size() / 64; ++word) {
        held |= std::bitset<256>(input.ConsumeIntegral<std::uint64_t>()) << (64 * word);
    }
    std::set<int> asked;
    const KeyDownQuery isDown = [&](int key) {
        asked.insert(key);
        return key >= 0 && key < static_cast<int>(held.size()) && held[static_cast<std::size_t>(key)];
    };
    const std::optional<std::string> label = labelForVirtualKey(virtualKey, isDown);
    checkCaptured(label);

    // Only a modifier asks which keys are held, and only about its own two sides; a label it gives
    // is that of a side that is down.
    const std::optional<std::string> withNothingHeld = labelForVirtualKey(virtualKey, KeyDownQuery{});
    if (asked.empty()) {
        ZAV_FUZZ_CHECK(label == withNothingHeld);
    } else {
        ZAV_FUZZ_CHECK(!withNothingHeld.has_value() && asked.size() <= 2);
        ZAV_FUZZ_CHECK(!label ||
                       std::any_of(asked.begin(), asked.end(), [&](int key) { return isDown(key); }));
    }

    const auto mouse = static_cast<MouseInput>(input.ConsumeIntegralInRange<int>(0, 5));
    checkCaptured(labelForMouseInput(mouse, input.ConsumeIntegral<int>()));
}

// The record bytes the page writes back when it is collected.
std::set<std::size_t> collectedBytes(int model, int mode) {
    std::set<std::size_t> bytes;
    for (int slot = 1; slot <= slotCount(model); ++slot) {
        const int byte = slotRecordByte(model, mode, slot, StickSelector::DPad);
        if (byte >= 0 && !(model == models::kKite && slot == kKiteDualSlot)) {
            bytes.insert(static_cast<std::size_t>(byte));
        }
    }
    return bytes;
}

void checkPage(FuzzedDataProvider& input) {
    const int model = pickModel(input);
    const int mode = pickMode(input);
    const StickSelector selector = input.ConsumeBool() ? StickSelector::LStick : StickSelector::DPad;
    const int size = recordSize(model);
    const bool wrongSize = size == 0 || input.ConsumeIntegralInRange<int>(0, 15) == 0;
    const std::size_t length = wrongSize ? input.ConsumeIntegralInRange<std::size_t>(0, record::kMaxSize + 1)
                                         : static_cast<std::size_t>(size);
    std::vector<std::uint8_t> record = input.ConsumeBytes<std::uint8_t>(length);
    record.resize(length, input.ConsumeIntegral<std::uint8_t>());

    const SlotLabels labels = showRecord(model, mode, record, selector);
    std::vector<std::uint8_t> collected = record;
    const bool accepted = collectPage(model, mode, labels, collected, mossSwitchOn(record));
    if (size == 0 || length != static_cast<std::size_t>(size)) {
        ZAV_FUZZ_CHECK(!accepted && collected == record);
        ZAV_FUZZ_CHECK(
            std::none_of(labels.begin(), labels.end(), [](const auto& l) { return l.has_value(); }));
        return;
    }
    ZAV_FUZZ_CHECK(accepted);
    for (int slot = 1; slot < kSlotArraySize; ++slot) {
        ZAV_FUZZ_CHECK(labels[static_cast<std::size_t>(slot)].has_value() == (slot <= slotCount(model)));
    }

    const std::set<std::size_t> owned = collectedBytes(model, mode);
    for (std::size_t i = 0; i < record.size(); ++i) {
        if (collected[i] == record[i]) {
            continue;
        }
        const bool mossSwitch = model == models::kMoss && i == record::kMossSwitch;
        if (mossSwitch) {
            ZAV_FUZZ_CHECK(record[i] > 1 && collected[i] == 1);
        } else {
            // A code without a label cannot survive the page; every other byte must.
            ZAV_FUZZ_CHECK(owned.count(i) == 1 && codeToLabel(model, mode, record[i]).empty() &&
                           collected[i] == 0);
        }
    }
    std::vector<std::uint8_t> again = collected;
    ZAV_FUZZ_CHECK(collectPage(model, mode, showRecord(model, mode, collected, selector), again,
                               mossSwitchOn(collected)));
    ZAV_FUZZ_CHECK(again == collected);

    // Any labels at all, some slots without a button: only the page's bytes and the switch may change.
    SlotLabels typed = labels;
    for (auto& label : typed) {
        switch (input.ConsumeIntegralInRange<int>(0, 3)) {
        case 1:
            label.reset();
            break;
        case 2:
            label = input.ConsumeRandomLengthString(8);
            break;
        default:
            break;
        }
    }
    std::vector<std::uint8_t> edited = record;
    ZAV_FUZZ_CHECK(collectPage(model, mode, typed, edited, input.ConsumeBool()));
    for (std::size_t i = 0; i < record.size(); ++i) {
        const bool mossSwitch = model == models::kMoss && i == record::kMossSwitch;
        ZAV_FUZZ_CHECK(edited[i] == record[i] || owned.count(i) == 1 || mossSwitch);
    }

    // Storing one slot writes the byte the slot shows, or nothing.
    const int slot = input.ConsumeIntegralInRange<int>(-1, kSlotArraySize);
    const std::string label = input.ConsumeRandomLengthString(8);
    std::vector<std::uint8_t> stored = record;
    const int byte = slotRecordByte(model, mode, slot, selector);
    if (storeSlotLabel(model, mode, slot, label, stored, selector)) {
        ZAV_FUZZ_CHECK(byte >= 0);
        for (std::size_t i = 0; i < record.size(); ++i) {
            ZAV_FUZZ_CHECK(stored[i] == (i == static_cast<std::size_t>(byte) ? labelToCode(model, mode, label)
                                                                             : record[i]));
        }
    } else {
        ZAV_FUZZ_CHECK(stored == record);
    }
}

} // namespace
} // namespace zav

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    FuzzedDataProvider input(data, size);
    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            checkCode(input.ConsumeIntegral<std::uint8_t>());
            break;
        case 1: {
            const int model = pickModel(input);
            const int mode = pickMode(input);
            checkLabel(input.ConsumeRandomLengthString(12), model, mode);
            break;
        }
        case 2:
            checkKeyCapture(input);
            break;
        default:
            checkPage(input);
            break;
        }
    }
    return 0;
}
