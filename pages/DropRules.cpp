#include "pages/DropRules.h"

#include "pages/KeyTables.h"
#include "profiles/ProfileRecord.h"

#include <initializer_list>

namespace zav {

namespace {

bool oneOf(std::string_view label, std::initializer_list<std::string_view> allowed) {
    for (std::string_view a : allowed) {
        if (label == a) {
            return true;
        }
    }
    return false;
}

// The options and share keys take only their own functions or "NC".
bool fixedKeyRefuses(int model, int slot, std::string_view label) {
    if (slot == 1 && model != models::kMoss) {
        return !oneOf(label, {"Option", "NC", "Start"});
    }
    if ((slot == 5 && model == models::kKite) || (slot == 6 && model == models::kFern)) {
        return !oneOf(label, {"Share", "NC", "Select"});
    }
    return false;
}

// The keys that hold "Fn" in the default records may take it again.
bool fnAllowed(int model, int slot) {
    return slot == 17 || (slot == 5 && model == models::kMoss) || (slot == 14 && model == models::kFern);
}

} // namespace

bool isDropTarget(int model, int slot) {
    if (slot >= 1 && slot <= 27) {
        return true;
    }
    if (model == models::kKite) {
        return slot >= 28 && slot <= 31;
    }
    return model == models::kFern && slot == 28;
}

DropVerdict dropVerdict(int model, int slot, std::string_view label, MouseKind mouse) {
    if (!isDropTarget(model, slot)) {
        return DropVerdict::RefuseSilently;
    }
    const bool ordinaryMouse = mouse == MouseKind::Ordinary;
    if (model == models::kMoss &&
        ((ordinaryMouse && (slot == 16 || slot == 17)) || (slot >= 24 && slot <= 27))) {
        return DropVerdict::RefuseSilently;
    }
    if (model == models::kFern && ordinaryMouse && (slot == 25 || slot == 26)) {
        return DropVerdict::RefuseSilently;
    }
    if (model == models::kKite && (slot == 28 || slot == 29)) {
        return DropVerdict::RefuseSilently;
    }
    if (label == kLabelFn && !fnAllowed(model, slot)) {
        return DropVerdict::RefuseFn;
    }
    if (fixedKeyRefuses(model, slot, label)) {
        return DropVerdict::RefuseFixedKey;
    }
    return DropVerdict::Accept;
}

} // namespace zav
