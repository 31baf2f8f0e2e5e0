#pragma once

#include "device/AdapterModel.h"
#include "profiles/KeyLabels.h"
#include "profiles/ProfileRecord.h"
#include "text/ModelTexts.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

namespace zav {

// One console code: its label in PS4, PS3 and PC-Pad mode; "" where the code has no label.
struct ConsoleLabels {
    std::string_view ps4;
    std::string_view ps3;
    std::string_view pc;
};

// A run of bytes that sits at one place in a profile file and at another in the record.
struct FileSegment {
    std::size_t file = 0;
    std::size_t record = 0;
    std::size_t length = 0;
};

// Which slots a page hides, by mode and by the attached mouse. The drop rules follow from them.
struct SlotRules {
    std::array<int, 2> alwaysHidden{}; // 0 where unused
    int keyboardFirst = 0;             // first slot shown only in keyboard mode
    int keyboardLast = 0;              // last slot shown only in keyboard mode
    std::array<int, 2> mouseOnly{};    // shown with the family's own mouse only; 0 where unused
};

// KeySlot numbers run 1..kMaxKeySlot; arrays indexed by slot have kSlotArraySize entries (0 unused).
inline constexpr int kMaxKeySlot = 35;
inline constexpr int kSlotArraySize = kMaxKeySlot + 1;

// "Fn" may be dropped on this slot of every page.
inline constexpr int kEveryPageFnSlot = 17;

// The first model's slot 22 is one key with two codes, chosen by the D-Pad / L-Stick selector.
inline constexpr int kKiteDualSlot = 22;
inline constexpr int kKiteDualDpadIndex = 8;
inline constexpr int kKiteDualStickIndex = 43;

// Second model: slots 24..28 show the record bytes behind the settings block (record::kMossExtraKeys
// onwards); the last of them is record::kMossLastKey.
inline constexpr int kMossFirstExtraSlot = 24;
inline constexpr int kMossLastExtraSlot = 28;

// A slot that shows one of two key codes, chosen by the page's D-Pad / L-Stick selector.
struct DualSlot {
    int slot = 0; // 0: the model has none
    int dpadIndex = 0;
    int stickIndex = 0;
};

// Slots that show the record bytes behind the settings block: `count` slots from `firstSlot` show the
// bytes from `firstByte`; the page writes the first `keyboardOnly` of them in keyboard mode only.
struct ExtraSlots {
    int firstSlot = 0; // 0: the model has none
    int count = 0;
    int firstByte = 0;
    int keyboardOnly = 0;
    bool has(int slot) const { return firstSlot != 0 && slot >= firstSlot && slot < firstSlot + count; }
};

// A key that keeps one function: only that function, under either of its names, or "NC" may be
// dropped on it.
struct FixedKey {
    int slot = 0; // 0 where unused
    std::array<std::string_view, 2> names{};
};

// Everything the program knows of one model, as data. Code asks this instead of switching on the model.
struct ModelDescription {
    int model = 0;         // 1..3; also the marker byte of its profile files
    std::string_view key;  // "kite": in file names and on the command line
    std::string_view name; // "ZAV KITE"
    const AdapterModel* adapter = nullptr;

    // The record: its size, the key-code block at its start, how many a bank holds (one: the slot is
    // ignored) and each mode's defaults (modes 0 and 2 share theirs).
    int recordSize = 0;
    int keyBlockSize = 0;
    int profileSlots = 0;
    std::array<std::span<const std::int16_t>, kAssignModeCount> defaults{};

    // The profile file: where the mode byte stands and where each record byte goes.
    std::size_t fileModeOffset = 0;
    std::span<const FileSegment> fileSegments;

    // The profile library: "<documents>/ZAV Software/<folder>", the official names' prefix, and whether the
    // very first profile is made from the page's own slot rather than from slot 0.
    std::string_view folder;
    std::string_view officialPrefix;
    bool firstProfileFromPageSlot = false;

    // Key slots 1..keySlots of the page, their device key indices (entry 0 unused) and the console codes.
    int keySlots = 0;
    std::span<const std::uint8_t> slotIndex;
    std::span<const ConsoleLabels> consoleCodes; // by FunctionCode
    bool keyboardFn = false;                     // keyboard mode knows "Fn" (kMossKeyboardFnCode)
    DualSlot dual{};
    // Key indices that PS3 mode shows on each other's slots; 0 where unused.
    std::array<std::pair<int, int>, 2> ps3Exchange{};
    ExtraSlots extra{};
    int switchByte = -1;    // the two-state switch (0 off, 1 on); -1: none
    int leftStickByte = -1; // the left-stick panel's four key codes; -1: none

    SlotRules slotRules{};
    // "Fn" may be dropped on kEveryPageFnSlot and on this slot, the key that holds it by default.
    int fnSlot = 0;
    std::array<FixedKey, 2> fixedKeys{};

    bool backLightSwitch = true; // the button options show the backlight switch

    // The page's texts (tab, dead-zone button, helps, profile-slot items) and its mode list.
    const ModelTexts* texts = nullptr;
};

// The description of model 1..3; nullptr for any other number.
const ModelDescription* modelDescription(int model);
// All three, in model order.
std::span<const ModelDescription> modelDescriptions();

// The mode of an item of the model's mode list, and the item that shows a mode.
int modeForItem(const ModelDescription& model, int item, int capability);
int itemForMode(const ModelDescription& model, int mode);

// Whether "Fn" may be dropped on a slot of the model's page.
bool takesFn(const ModelDescription& model, int slot);

} // namespace zav
