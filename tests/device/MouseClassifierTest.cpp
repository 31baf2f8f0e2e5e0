#include "device/MouseClassifier.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

MouseState classify(std::array<std::uint8_t, 4> id, OwnMouseSet set, MouseState previous) {
    return classifyMouse(id, set, previous);
}

TEST(MouseClassifier, nothing_reported_is_no_mouse_and_keeps_seen_flag) {
    EXPECT_EQ(classify({0, 0, 0, 0}, OwnMouseSet::Full, {MouseKind::Ordinary, true}).kind, MouseKind::None);
    EXPECT_TRUE(classify({0, 0, 0, 0}, OwnMouseSet::Full, {MouseKind::Ordinary, true}).ordinarySeen);
    EXPECT_FALSE(classify({0, 0, 0, 0}, OwnMouseSet::Full, {MouseKind::None, false}).ordinarySeen);
}

TEST(MouseClassifier, own_mice_depend_on_the_set) {
    for (std::uint8_t product : {0x61, 0xAF, 0xB7, 0xB8, 0xB9, 0xBA, 0xBB}) {
        const auto full = classify({0x2B, 0x7C, 0x00, product}, OwnMouseSet::Full, {MouseKind::None, true});
        EXPECT_EQ(full.kind, MouseKind::Own) << int(product);
        EXPECT_FALSE(full.ordinarySeen);
    }
    EXPECT_EQ(classify({0x2B, 0x7C, 0x00, 0x61}, OwnMouseSet::FirstOnly, {}).kind, MouseKind::Own);
    const auto narrow = classify({0x2B, 0x7C, 0x00, 0xAF}, OwnMouseSet::FirstOnly, {});
    EXPECT_EQ(narrow.kind, MouseKind::Ordinary);
    EXPECT_TRUE(narrow.ordinarySeen);
    EXPECT_EQ(identificationMouseSet(1), OwnMouseSet::FirstOnly);
    EXPECT_EQ(identificationMouseSet(2), OwnMouseSet::Full);
    EXPECT_EQ(identificationMouseSet(3), OwnMouseSet::FirstOnly);
}

TEST(MouseClassifier, adapter_identifiers_are_no_mouse) {
    for (std::uint8_t product : {0xC4, 0xC8, 0xDB}) {
        const auto state = classify({0x2B, 0x7C, 0x00, product}, OwnMouseSet::Full, {MouseKind::Own, true});
        EXPECT_EQ(state.kind, MouseKind::None);
        EXPECT_TRUE(state.ordinarySeen);
    }
}

TEST(MouseClassifier, anything_else_is_an_ordinary_mouse) {
    // Vendor high byte right, low byte wrong.
    auto state = classify({0x2B, 0x7D, 0x00, 0x61}, OwnMouseSet::Full, {});
    EXPECT_EQ(state.kind, MouseKind::Ordinary);
    EXPECT_TRUE(state.ordinarySeen);
    // Own vendor but a product high byte that is not zero.
    EXPECT_EQ(classify({0x2B, 0x7C, 0x01, 0x61}, OwnMouseSet::Full, {}).kind, MouseKind::Ordinary);
    EXPECT_EQ(classify({0x04, 0x6D, 0xC0, 0x77}, OwnMouseSet::Full, {}).kind, MouseKind::Ordinary);
    EXPECT_EQ(classify({0x00, 0x00, 0x00, 0x01}, OwnMouseSet::Full, {}).kind, MouseKind::Ordinary);
}

} // namespace
} // namespace zav
