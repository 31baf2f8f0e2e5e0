#pragma once

#include "controls/SkinComboBox.h"

namespace zav {

// The list of the adapter's profile slots. It drops its blank item " " when it is opened: the blank
// only says that the record shown is not an adapter slot's.
class ProfileSlotList : public SkinComboBox {
public:
    using SkinComboBox::SkinComboBox;
    void showPopup() override;
    // Adds the blank item where it is missing and shows it.
    void showBlank();
};

} // namespace zav
