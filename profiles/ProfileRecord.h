#pragma once

#include "device/ProfileImage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zav {

// Model numbers; also the marker byte of a profile file.
namespace models {
inline constexpr int kKite = 1;
inline constexpr int kMoss = 2;
inline constexpr int kFern = 3;
} // namespace models

// Offsets and sizes of one profile record inside a model's image. What else differs between the models
// stands in their descriptions (profiles/ModelDescription.h).
namespace record {
inline constexpr int kKiteSize = 60;
inline constexpr int kMossSize = 55;
inline constexpr int kFernSize = 55;
inline constexpr int kMaxSize = 60;

// The key-code block starts at 0; the settings block follows it.
inline constexpr int kKiteKeyBlockSize = 48;
inline constexpr int kMossKeyBlockSize = 37;
inline constexpr int kFernKeyBlockSize = 43;
inline constexpr int kSettingsCount = 12;

// KITE and FERN keep one record per slot, back to back from image offset 0; MOSS keeps one.
inline constexpr int kSlotCount = 3;
inline constexpr int kMossSlotCount = 1;

// MOSS only: bytes after its settings block.
inline constexpr int kMossExtraKeys = 49; // four key codes, written in keyboard mode only
inline constexpr int kMossExtraKeyCount = 4;
inline constexpr int kMossLastKey = 53;   // one key code, written in every mode
inline constexpr int kMossSwitch = 54;    // 0 off, 1 on
inline constexpr int kMossLeftStick = 27; // up, down, left, right key codes at 27..30

static_assert(kKiteKeyBlockSize + kSettingsCount == kKiteSize);
static_assert(kFernKeyBlockSize + kSettingsCount == kFernSize);
static_assert(kMossKeyBlockSize + kSettingsCount == kMossExtraKeys);
static_assert(kMossSwitch + 1 == kMossSize);
static_assert(kSlotCount * kKiteSize <= static_cast<int>(std::tuple_size_v<ProfileImage>));
static_assert(kSlotCount * kFernSize <= static_cast<int>(std::tuple_size_v<ProfileImage>));
} // namespace record

// The modes of a page; each mode has its own bank on the adapter.
inline constexpr int kAssignModeCount = 4;

// AssignMode: the page's mode and the number of the adapter bank it reads and writes.
inline constexpr int kModePs4 = 0;
inline constexpr int kModePs3 = 1;
inline constexpr int kModePcPad = 2;
inline constexpr int kModeKeyboard = 3;

// The twelve settings bytes, in record order from the start of the settings block.
enum class SettingsField : int {
    deadZoneNormal = 0,
    deadZoneAds = 1,
    accelXNormal = 2,
    accelYNormal = 3,
    accelXAds = 4,
    accelYAds = 5,
    snipeX = 6,
    snipeY = 7,
    walkSpeed = 8,
    backLightOff = 9,
    adsLock = 10,
    sensitivity = 11,
};

// Record size per model: 60, 55, 55 for model 1, 2, 3; 0 for any other model.
int recordSize(int model);

// The bytes of a bank that hold the records, from its start: 180, 55, 165 for model 1, 2, 3; 0 for any
// other model. What follows them belongs to the adapter.
int recordBytesInBank(int model);

// Size of the key-code block, which is also where the settings block starts: 48, 37, 43; 0 for any other
// model.
int keyBlockSize(int model);

// Record offset of a settings field; -1 for an unknown model or field.
int settingsOffset(int model, SettingsField field);

// The record of a slot inside a model's image. MOSS has one record and ignores the slot. An unknown model or,
// on KITE and FERN, a slot outside 0..2 gives an empty span.
std::span<std::uint8_t> recordAt(ProfileImage& image, int model, int slot);
std::span<const std::uint8_t> recordAt(const ProfileImage& image, int model, int slot);

// Settings by name. The record must be the model's size; otherwise the getter gives 0 and the setter
// changes nothing and returns false. Values are stored as given: the dialogs decide what is valid.
std::uint8_t settingsField(std::span<const std::uint8_t> record, int model, SettingsField field);
bool setSettingsField(std::span<std::uint8_t> record, int model, SettingsField field, std::uint8_t value);

// Key codes by device key index (0 .. keyBlockSize - 1). Outside that range, or with a record of the
// wrong size, the getter gives 0 and the setter changes nothing and returns false.
std::uint8_t keyCode(std::span<const std::uint8_t> record, int model, int index);
bool setKeyCode(std::span<std::uint8_t> record, int model, int index, std::uint8_t code);

// Default contents of a record, one entry per record byte. kKeepByte marks a byte that a reset leaves
// as it is.
inline constexpr std::int16_t kKeepByte = -1;

// The default table of a model and mode (modes 0 and 2 share theirs); empty for an unknown model or a
// mode outside 0..3.
std::span<const std::int16_t> defaultRecord(int model, int mode);

// Writes the defaults of the mode into the record of the slot, leaving the kept bytes alone. Does nothing
// for an unknown model, a mode outside 0..3, or (KITE, FERN) a slot outside 0..2.
void resetToDefaults(ProfileImage& image, int model, int mode, int slot);

} // namespace zav
