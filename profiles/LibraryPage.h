#pragma once

#include <cstdint>
#include <span>

namespace zav {

// What the profile library needs from the assignment page it serves.
class LibraryPage {
public:
    virtual ~LibraryPage() = default;

    // The page's model (1..3), AssignMode (0..3) and ProfileSlot (0..2; MOSS ignores it).
    virtual int model() const = 0;
    virtual int mode() const = 0;
    virtual int slot() const = 0;
    // The record of a slot in the model's work image; MOSS has one record whatever the slot.
    virtual std::span<std::uint8_t> record(int slot) = 0;

    // Stores the slot buttons into the record of the current slot and copies the work image to the send
    // image, so the record holds everything the page shows.
    virtual void collect() = 0;
    // Resets a slot of the current mode to its defaults and redraws the key buttons from it, hiding the
    // slots the mode does not use. The page's own slot does not change.
    virtual void resetAndShow(int slot) = 0;
    // A profile file was read: take its mode into the page and its mode list (with that mode's bank,
    // when it is not the page's mode, so that the other slots and the bytes after the records are that
    // bank's), put `loaded` into the current slot's record and redraw the key buttons from it.
    virtual void takeLoadedRecord(int mode, std::span<const std::uint8_t> loaded) = 0;

    // Whether an adapter is connected now.
    virtual bool connected() const = 0;
    // Makes sure the slot list holds the blank item " " at position 3 and selects it: the record shown is
    // not the content of an adapter slot.
    virtual void showBlankSlotItem() = 0;
    // Sends the status command "q"; its result does not matter.
    virtual void sendStatus() = 0;
};

} // namespace zav
