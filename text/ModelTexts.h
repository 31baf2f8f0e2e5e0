#pragma once

#include "text/Texts.h"

#include <algorithm>
#include <array>
#include <span>

namespace zav {

// The texts that differ between the models' pages. Each model's description (profiles/ModelDescription.h)
// points at its own; the text functions that take a model ask this table.
struct ModelTexts {
    int model = 0; // 1..3
    TextId tab = TextId::TabKite;
    TextId deadZoneCaption = TextId::CaptionDeadZone;
    TextId paletteHelp = TextId::PaletteHelpKite; // console modes; keyboard mode has one for all
    TextId switchHelp = TextId::SwitchHelpKite;
    std::span<const TextId> profileSlots; // the items of the profile-slot list, one per record
    // The mode list: `modeItems` entries in mode order. With fewer than four, the last one is keyboard
    // mode from capability `keyboardCapability` on and PC-pad mode below it.
    int modeItems = 4;
    int keyboardCapability = 0;
};

inline constexpr std::array<TextId, 3> kThreeProfileSlots = {TextId::ProfileSlot1, TextId::ProfileSlot2,
                                                             TextId::ProfileSlot3};
inline constexpr std::array<TextId, 1> kOneProfileSlot = {TextId::ProfileSlotSingle};

inline constexpr std::array<ModelTexts, 3> kModelTexts = {{
    {1, TextId::TabKite, TextId::CaptionDeadZoneKite, TextId::PaletteHelpKite, TextId::SwitchHelpKite,
     kThreeProfileSlots},
    {2, TextId::TabMoss, TextId::CaptionDeadZone, TextId::PaletteHelpMoss, TextId::SwitchHelpMossFern,
     kOneProfileSlot, 3, 5},
    {3, TextId::TabFern, TextId::CaptionDeadZone, TextId::PaletteHelpFern, TextId::SwitchHelpMossFern,
     kThreeProfileSlots},
}};

// The texts of model 1..3; nullptr for any other number.
constexpr const ModelTexts* modelTexts(int model) {
    const auto found = std::find_if(kModelTexts.begin(), kModelTexts.end(),
                                    [model](const ModelTexts& t) { return t.model == model; });
    return found == kModelTexts.end() ? nullptr : &*found;
}

} // namespace zav
