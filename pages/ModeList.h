#pragma once

#include "controls/SkinComboBox.h"

#include <cstdint>

namespace zav {

// The list of the page's modes. The second model lists three: its third item is the PC mode or, on an
// adapter whose capability byte is 5 or more, the keyboard mode.
class ModeList : public SkinComboBox {
public:
    ModeList(int model, QWidget* parent);

    // The items in `language` for an adapter of `capability`, `mode` selected; no signal is sent.
    void fill(std::uint8_t capability, int language, int mode);
    // Selects the item of `mode` without sending a signal.
    void showMode(int mode);
    int modeForItem(int item, std::uint8_t capability) const;
    int itemForMode(int mode) const;

private:
    int model_;
};

} // namespace zav
