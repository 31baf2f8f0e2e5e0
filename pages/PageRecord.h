#pragma once

#include "device/ProfileImage.h"
#include "pages/KeyTables.h"
#include "profiles/ProfileRecord.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zav {

// The label on each slot of a page, indexed by KeySlot (entry 0 unused); std::nullopt where the
// slot has no button.
using SlotLabels = std::array<std::optional<std::string>, kSlotArraySize>;

// Which of the two codes of the first model's slot 22 the page shows and edits.
enum class StickSelector { DPad, LStick };

// Stored for a slot that has no button.
inline constexpr std::uint8_t kMissingButtonCode = 255;

// The record byte that a slot shows and edits in a mode, or -1 when the model has no such slot.
// On the first model in PS3 mode the slots of indices 29/30 and 31/32 show each other's bytes.
int slotRecordByte(int model, int mode, int slot, StickSelector selector);

// The label of every slot of the model's page; slots the page does not have stay empty.
// An unknown model or a record not of the model's size gives no labels at all.
SlotLabels showRecord(int model, int mode, std::span<const std::uint8_t> record, StickSelector selector);

// Turns the page's labels back into the record. The first model's slot 22 is left alone (it is
// stored the moment it changes); the second model's slots 24..27 only in keyboard mode, and its
// switch byte from switchOn. False, and the record untouched, for an unknown model or a record not of
// the model's size.
bool collectPage(int model, int mode, const SlotLabels& labels, std::span<std::uint8_t> record,
                 bool switchOn);

// Stores one slot's new label at once, into the byte the slot shows (slot 22 of the first model
// by the selector). False, and nothing written, where the page has no such slot or the slot's
// byte is not the page's to write in this mode (or the record is not of the model's size).
bool storeSlotLabel(int model, int mode, int slot, std::string_view label, std::span<std::uint8_t> record,
                    StickSelector selector);

// The second model's two-state switch as the record holds it.
bool mossSwitchOn(std::span<const std::uint8_t> record);

// Copies the work page to the page that is written out. The second model's adapter keeps two
// pairs of codes of its PS3 bank exchanged, so they are exchanged on the way there.
void copyToSendImage(int model, int mode, bool adapterIsThisModel, const ProfileImage& work,
                     ProfileImage& send);

} // namespace zav
