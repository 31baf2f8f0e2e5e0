#pragma once

#include "profiles/ModelDescription.h" // SlotRules

#include <array>
#include <span>
#include <string_view>

namespace zav {

// A rectangle in page pixels.
struct Box {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
    bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

struct Point {
    int x = 0;
    int y = 0;
};

// Where a slot's static stands on its page.
struct SlotPlace {
    int slot = 0;
    int staticId = 0;
    Box box;
};

// A draggable function button of the palette. The face of the ten console buttons changes with
// the mode; the others carry one label in every mode.
struct PaletteKey {
    int id = 0;
    Box box;
    std::string_view playstation; // label in modes 0 and 1
    std::string_view pcPad;       // label in mode 2
    bool diagonal = false;        // the stick diagonals
    bool touchPad = false;        // shown in PlayStation 4 mode only
    bool neverShown = false;      // kept in the palette's order, never shown on this page
};

struct ControlPlace {
    int id = 0;
    Box box;
};

struct PicturePlace {
    std::string_view connected;    // file under res/
    std::string_view disconnected; // file under res/
    Box box;
};

// What the page draws itself, the same on every model's page.
struct PageArt {
    Point backgroundOrigin;             // where the skin background's top left corner lands
    Box backgroundSource;               // the part of the skin background drawn
    Box profileFrame;                   // around the mode, slot and switch controls
    std::array<Point, 12> writeOutline; // around the profile controls, with the arrow to Write
    Box mouseFrame;                     // around the mouse settings buttons
    Box mouseSettingsCaption;
    Box pcLogo;
    Box logo;
    std::array<int, 2> columnEdges; // the left edges of the profile column and of the mouse column
    Box mouseArea;                  // the mouse pictures and the text below them
    Box ownMouse;                   // the family's own mouse, one picture
    Box ordinaryMouseLeft;          // an ordinary mouse, two pictures
    Box ordinaryMouseRight;
    Box ordinaryMouseAbsent; // "Mouse not Connected!" centred at its bottom, under the ordinary mouse
    Box ownMouseAbsent;      // the same under the family's own mouse
};

const PageArt& pageArt();

// Everything that differs between the three models' pages, as data: the page's side of the model's
// description (profiles/ModelDescription.h), which it repeats nothing of.
struct PageLayout {
    int model = 0;
    int templateId = 0;
    int firstReadMessage = 0;
    std::span<const SlotPlace> slotPlaces;
    std::span<const PaletteKey> palette;
    std::span<const ControlPlace> controls; // buttons, combos and captions that stand elsewhere on this page
    SlotRules rules;
    std::array<PicturePlace, 2> keypad; // second entry unused (empty box) on the third model
    Box keypadNotConnected;             // "ZAV not Connected!" centred at its bottom
    Box paletteFrame;
    Box assignPadCaption;
    std::string_view ownMouseConnected;
    std::string_view ownMouseDisconnected;
    int captureNcId = 0;
    bool stickSelector = false;    // the dual slot's D-Pad / L-Stick selector, where the model has one
    std::array<Box, 4> fnCaptions; // the names of the Fn buttons beside their slots; empty boxes where none
    Box prioritizeCaption;         // keyboard mode: the caption of the switch; empty where none
};

const PageLayout& pageLayout(int model); // model 1..3; others get the first model's
// The description of the model a layout belongs to.
inline const ModelDescription& describe(const PageLayout& layout) {
    return *modelDescription(layout.model);
}

// The place of a slot on a model's page, or nullptr when the page has no such slot.
const SlotPlace* slotPlace(int model, int slot);
const ControlPlace* controlPlace(int model, int id);

// Whether a slot of the page is shown in a mode, before the mouse is considered.
bool slotShownInMode(int model, int mode, int slot);
bool isMouseOnlySlot(int model, int slot);

} // namespace zav
