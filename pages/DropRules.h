#pragma once

#include "device/MouseClassifier.h"

#include <string_view>

namespace zav {

enum class DropVerdict {
    Accept,
    RefuseSilently, // the button just goes home
    RefuseFn,       // "This key can't get Fn."
    RefuseFixedKey, // "Functions cannot be assigned to this button."
};

// Whether a slot's static is looked at when a palette button is released: slots 1..27 on every
// model, and beyond them those the page shows outside keyboard mode (28..31 on the first, 28 on the
// third). None on a model that does not exist.
bool isDropTarget(int model, int slot);

// What a page does with `label` dropped on `slot`, with the mouse as the window last classified it.
DropVerdict dropVerdict(int model, int slot, std::string_view label, MouseKind mouse);

} // namespace zav
