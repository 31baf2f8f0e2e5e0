#include "pages/DropRules.h"
#include "pages/KeyTables.h"
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

bool overlap(const Box& a, const Box& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// A release finds one slot under the cursor: no two slot boxes overlap, none touches a palette button,
// and every drop target has its box inside the page, marked by the slot's own static.
TEST(PageLayout, slot_boxes_are_apart_and_inside_the_page) {
    const Box page{0, 0, 960, 691};
    for (int model = 1; model <= 3; ++model) {
        const PageLayout& layout = pageLayout(model);
        for (std::size_t i = 0; i < layout.slotPlaces.size(); ++i) {
            const SlotPlace& a = layout.slotPlaces[i];
            SCOPED_TRACE(testing::Message() << "model " << model << " slot " << a.slot);
            EXPECT_FALSE(a.box.empty());
            EXPECT_TRUE(page.contains(a.box.x, a.box.y) &&
                        page.contains(a.box.x + a.box.w - 1, a.box.y + a.box.h - 1));
            EXPECT_EQ(a.staticId, slotControlId(a.slot));
            EXPECT_EQ(slotPlace(model, a.slot), &a);
            for (std::size_t j = i + 1; j < layout.slotPlaces.size(); ++j) {
                EXPECT_FALSE(overlap(a.box, layout.slotPlaces[j].box))
                    << "and slot " << layout.slotPlaces[j].slot;
            }
            for (const PaletteKey& key : layout.palette) {
                EXPECT_FALSE(overlap(a.box, key.box)) << "and palette key " << key.id;
            }
        }
        for (int slot = 1; slot <= slotCount(model); ++slot) {
            EXPECT_NE(slotPlace(model, slot), nullptr) << model << " " << slot;
        }
        EXPECT_EQ(slotPlace(model, slotCount(model) + 1), nullptr);
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

} // namespace
} // namespace zav
