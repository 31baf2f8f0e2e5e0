#include "pages/DropRules.h"

#include "pages/KeyTables.h"
#include "profiles/ModelDescription.h"

#include <algorithm>

namespace zav {

namespace {

// The statics every page looks at when a palette button is released.
constexpr int kEveryPageDropTargets = 27;

bool listed(const auto& slots, int slot) {
    return slot != 0 && std::find(slots.begin(), slots.end(), slot) != slots.end();
}

// A fixed key takes only its own function or "NC".
bool fixedKeyRefuses(const ModelDescription& m, int slot, std::string_view label) {
    for (const FixedKey& key : m.fixedKeys) {
        if (key.slot != 0 && key.slot == slot) {
            return label != kLabelNoFunction && label != key.names[0] && label != key.names[1];
        }
    }
    return false;
}

} // namespace

// Beyond the statics of every page, a page looks at the slots it shows outside keyboard mode.
bool isDropTarget(int model, int slot) {
    const ModelDescription* m = modelDescription(model);
    return m != nullptr && slot >= 1 && (slot <= kEveryPageDropTargets || slot < m->slotRules.keyboardFirst);
}

// The slot rules decide which slots take nothing: those never shown, those of keyboard mode (where the
// palette is hidden) and, with an ordinary mouse, those of the family's own mouse.
DropVerdict dropVerdict(int model, int slot, std::string_view label, MouseKind mouse) {
    if (!isDropTarget(model, slot)) {
        return DropVerdict::RefuseSilently;
    }
    const ModelDescription& m = *modelDescription(model);
    const SlotRules& rules = m.slotRules;
    if (listed(rules.alwaysHidden, slot) || (slot >= rules.keyboardFirst && slot <= rules.keyboardLast) ||
        (mouse == MouseKind::Ordinary && listed(rules.mouseOnly, slot))) {
        return DropVerdict::RefuseSilently;
    }
    if (label == kLabelFn && !takesFn(m, slot)) {
        return DropVerdict::RefuseFn;
    }
    if (fixedKeyRefuses(m, slot, label)) {
        return DropVerdict::RefuseFixedKey;
    }
    return DropVerdict::Accept;
}

} // namespace zav
