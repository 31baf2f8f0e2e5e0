#include "device/MouseClassifier.h"

#include "device/AdapterModel.h"
#include "device/DeviceLink.h"

#include <algorithm>

namespace zav {

namespace {

constexpr std::array<std::uint8_t, 7> kOwnMice = {0x61, 0xAF, 0xB7, 0xB8, 0xB9, 0xBA, 0xBB};

bool isOwnMouse(std::uint8_t product, OwnMouseSet set) {
    if (set == OwnMouseSet::FirstOnly) {
        return product == kOwnMice.front();
    }
    return std::find(kOwnMice.begin(), kOwnMice.end(), product) != kOwnMice.end();
}

} // namespace

OwnMouseSet identificationMouseSet(int model) {
    const AdapterModel* adapter = adapterModel(model);
    return adapter != nullptr ? adapter->identificationMice : OwnMouseSet::FirstOnly;
}

MouseState classifyMouse(std::span<const std::uint8_t, 4> id, OwnMouseSet set, MouseState previous) {
    if (id[0] == 0 && id[1] == 0 && id[2] == 0 && id[3] == 0) {
        return {MouseKind::None, previous.ordinarySeen};
    }
    const bool familyVendor = (id[0] << 8 | id[1]) == kVendorId && id[2] == 0;
    if (familyVendor && isOwnMouse(id[3], set)) {
        return {MouseKind::Own, false};
    }
    // One of the adapters' own identifiers is no mouse.
    if (familyVendor && std::any_of(kAdapterModels.begin(), kAdapterModels.end(),
                                    [&](const AdapterModel& a) { return a.productId == id[3]; })) {
        return {MouseKind::None, previous.ordinarySeen};
    }
    return {MouseKind::Ordinary, true};
}

} // namespace zav
