#include "pages/DropRules.h"
#include "pages/KeyTables.h"
#include "pages/PageLayout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zav {
namespace {

constexpr auto A = DropVerdict::Accept, S = DropVerdict::RefuseSilently, F = DropVerdict::RefuseFn,
               X = DropVerdict::RefuseFixedKey;
constexpr auto N = MouseKind::None, O = MouseKind::Own, R = MouseKind::Ordinary;

TEST(DropRules, every_rule_of_every_model) {
    // One row per rule (model, slot, label, mouse kind, verdict), in the order the pages apply them.
    const std::tuple<int, int, const char*, MouseKind, DropVerdict> rows[] = {
        {1, 17, "Fn", N, A},    {1, 2, "Fn", N, F},     {2, 17, "Fn", O, A}, {2, 5, "Fn", N, A},
        {3, 14, "Fn", N, A},    {3, 17, "Fn", N, A},    {1, 14, "Fn", N, F}, {2, 14, "Fn", N, F},
        {3, 5, "Fn", N, F},     {1, 1, "Fn", N, F},     {1, 1, "L1", N, X},  {1, 1, "NC", N, A},
        {1, 1, "Option", N, A}, {1, 1, "Share", N, X},  {3, 1, "R2", N, X},  {2, 1, "R2", N, A},
        {1, 5, "Wa", N, X},     {1, 5, "Select", N, A}, {3, 6, "Wa", N, X},  {3, 6, "NC", N, A},
        {1, 6, "Wa", N, A},     {3, 5, "Wa", N, A},     {2, 16, "L1", R, S}, {2, 17, "Fn", R, S},
        {2, 16, "L1", O, A},    {2, 16, "L1", N, A},    {2, 24, "L1", N, S}, {2, 27, "NC", O, S},
        {3, 25, "L1", R, S},    {3, 26, "L1", O, A},    {1, 25, "L1", R, A}, {1, 28, "L1", N, S},
        {1, 29, "Fn", N, S},    {1, 30, "L1", N, A},    {1, 31, "Fn", N, F}, {3, 28, "L1", N, A},
        {3, 29, "L1", N, S},    {2, 28, "L1", N, S},    {1, 32, "L1", N, S}, {1, 22, "\u00E1", N, A}};
    for (const auto& [model, slot, label, mouse, verdict] : rows) {
        EXPECT_EQ(dropVerdict(model, slot, label, mouse), verdict)
            << model << " slot " << slot << " " << label;
    }
}

bool overlap(const Box& a, const Box& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// A release finds one slot under the cursor: no two slot boxes overlap, none touches a palette button,
// and every drop target has its box inside the page, marked by the slot's own static.
TEST(PageLayout, slot_boxes_are_apart_inside_the_page_and_shown_by_mode) {
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

    // Model, slot and the modes it shows in, one bit per mode.
    const std::tuple<int, int, int> rows[] = {{1, 28, 0}, {1, 29, 0},  {1, 27, 15}, {1, 32, 8}, {2, 24, 8},
                                              {2, 28, 8}, {2, 23, 15}, {3, 29, 8},  {3, 28, 15}};
    for (const auto& [model, slot, modes] : rows) {
        for (int mode = 0; mode < 4; ++mode) {
            EXPECT_EQ(slotShownInMode(model, mode, slot), (modes >> mode & 1) == 1) << model << "/" << slot;
        }
    }
    EXPECT_FALSE(slotShownInMode(2, 3, 29));
    EXPECT_TRUE(isMouseOnlySlot(2, 16));
    EXPECT_TRUE(isMouseOnlySlot(3, 26));
    EXPECT_FALSE(isMouseOnlySlot(1, 16));
}

} // namespace
} // namespace zav
