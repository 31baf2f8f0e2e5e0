#include "pages/DropRules.h"
#include "pages/PageLayout.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

constexpr auto A = DropVerdict::Accept;
constexpr auto S = DropVerdict::RefuseSilently;
constexpr auto F = DropVerdict::RefuseFn;
constexpr auto X = DropVerdict::RefuseFixedKey;

struct Row {
    int model;
    int slot;
    const char* label;
    MouseKind mouse;
    DropVerdict verdict;
};

// One row per rule, in the order the pages apply them.
constexpr Row kRows[] = {
    {1, 17, "Fn", MouseKind::None, A},     {1, 2, "Fn", MouseKind::None, F},
    {2, 17, "Fn", MouseKind::Own, A},      {2, 5, "Fn", MouseKind::None, A},
    {3, 14, "Fn", MouseKind::None, A},     {3, 17, "Fn", MouseKind::None, A},
    {1, 14, "Fn", MouseKind::None, F},     {2, 14, "Fn", MouseKind::None, F},
    {3, 5, "Fn", MouseKind::None, F},      {1, 1, "Fn", MouseKind::None, F},
    {1, 1, "L1", MouseKind::None, X},      {1, 1, "NC", MouseKind::None, A},
    {1, 1, "Option", MouseKind::None, A},  {1, 1, "Share", MouseKind::None, X},
    {3, 1, "R2", MouseKind::None, X},      {2, 1, "R2", MouseKind::None, A},
    {1, 5, "Wa", MouseKind::None, X},      {1, 5, "Select", MouseKind::None, A},
    {3, 6, "Wa", MouseKind::None, X},      {3, 6, "NC", MouseKind::None, A},
    {1, 6, "Wa", MouseKind::None, A},      {3, 5, "Wa", MouseKind::None, A},
    {2, 16, "L1", MouseKind::Ordinary, S}, {2, 17, "Fn", MouseKind::Ordinary, S},
    {2, 16, "L1", MouseKind::Own, A},      {2, 16, "L1", MouseKind::None, A},
    {2, 24, "L1", MouseKind::None, S},     {2, 27, "NC", MouseKind::Own, S},
    {3, 25, "L1", MouseKind::Ordinary, S}, {3, 26, "L1", MouseKind::Own, A},
    {1, 25, "L1", MouseKind::Ordinary, A}, {1, 28, "L1", MouseKind::None, S},
    {1, 29, "Fn", MouseKind::None, S},     {1, 30, "L1", MouseKind::None, A},
    {1, 31, "Fn", MouseKind::None, F},     {3, 28, "L1", MouseKind::None, A},
    {3, 29, "L1", MouseKind::None, S},     {2, 28, "L1", MouseKind::None, S},
    {1, 32, "L1", MouseKind::None, S},     {1, 22, "\u00E1", MouseKind::None, A},
};

TEST(DropRules, every_rule_of_every_model) {
    for (const Row& row : kRows) {
        EXPECT_EQ(dropVerdict(row.model, row.slot, row.label, row.mouse), row.verdict)
            << "model " << row.model << " slot " << row.slot << " label " << row.label;
    }
}

TEST(DropRules, targets_are_the_statics_a_release_looks_at) {
    for (int model = 1; model <= 3; ++model) {
        for (int slot = 1; slot <= 27; ++slot) {
            EXPECT_TRUE(isDropTarget(model, slot));
            EXPECT_NE(slotPlace(model, slot), nullptr) << model << " " << slot;
        }
    }
    EXPECT_TRUE(isDropTarget(1, 31));
    EXPECT_FALSE(isDropTarget(1, 32));
    EXPECT_FALSE(isDropTarget(2, 28));
    EXPECT_TRUE(isDropTarget(3, 28));
    EXPECT_FALSE(isDropTarget(3, 29));
}

TEST(PageLayout, slots_stand_where_the_pages_place_them) {
    // A few places checked against the page tables.
    EXPECT_EQ(slotPlace(1, 1)->box.x, 159);
    EXPECT_EQ(slotPlace(1, 1)->box.w, 44);
    EXPECT_EQ(slotPlace(1, 16)->box.y, 284);
    EXPECT_EQ(slotPlace(1, 20)->box.x, 303);
    EXPECT_EQ(slotPlace(1, 20)->box.y, 274);
    EXPECT_EQ(slotPlace(1, 33)->staticId, 1105);
    EXPECT_EQ(slotPlace(2, 24)->box.w, 50);
    EXPECT_EQ(slotPlace(3, 19)->box.w, 92);
    EXPECT_EQ(slotPlace(2, 29), nullptr);
    EXPECT_EQ(slotPlace(3, 33), nullptr);
    // Static ids follow the slot numbers on every page.
    for (int model = 1; model <= 3; ++model) {
        for (const SlotPlace& place : pageLayout(model).slotPlaces) {
            EXPECT_EQ(place.staticId, place.slot <= 20   ? 1066 + place.slot
                                      : place.slot <= 31 ? 1071 + place.slot
                                      : place.slot == 32 ? 1103
                                      : place.slot == 33 ? 1105
                                      : place.slot == 34 ? 1108
                                                         : 1109);
        }
    }
}

TEST(PageLayout, visibility_by_mode) {
    for (int mode = 0; mode < 4; ++mode) {
        EXPECT_FALSE(slotShownInMode(1, mode, 28));
        EXPECT_FALSE(slotShownInMode(1, mode, 29));
        EXPECT_TRUE(slotShownInMode(1, mode, 27));
        EXPECT_EQ(slotShownInMode(1, mode, 32), mode == 3);
        EXPECT_EQ(slotShownInMode(2, mode, 24), mode == 3);
        EXPECT_EQ(slotShownInMode(2, mode, 28), mode == 3);
        EXPECT_TRUE(slotShownInMode(2, mode, 23));
        EXPECT_EQ(slotShownInMode(3, mode, 29), mode == 3);
        EXPECT_TRUE(slotShownInMode(3, mode, 28));
    }
    EXPECT_FALSE(slotShownInMode(2, 3, 29));
    EXPECT_TRUE(isMouseOnlySlot(2, 16));
    EXPECT_TRUE(isMouseOnlySlot(3, 26));
    EXPECT_FALSE(isMouseOnlySlot(1, 16));
}

TEST(PageLayout, second_model_palette_differs) {
    const auto& moss = pageLayout(2).palette;
    EXPECT_TRUE(std::any_of(moss.begin(), moss.end(), [](const PaletteKey& k) { return k.id == 1179; }));
    EXPECT_TRUE(std::any_of(moss.begin(), moss.end(),
                            [](const PaletteKey& k) { return k.id == 1147 && k.playstation == "Fn"; }));
    const auto& kite = pageLayout(1).palette;
    EXPECT_EQ(kite.size(), 28u);
    EXPECT_EQ(controlPlace(2, 1158)->box.y, 513);
    EXPECT_EQ(controlPlace(3, 1126)->box.h, 187);
    EXPECT_EQ(controlPlace(3, 1141), nullptr);
}

} // namespace
} // namespace zav
