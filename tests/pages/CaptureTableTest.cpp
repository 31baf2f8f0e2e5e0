#include "pages/CaptureTable.h"
#include "pages/KeyTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace zav {
namespace {

KeyDownQuery downKeys(std::set<int> keys) {
    return [keys](int virtualKey) { return keys.count(virtualKey) == 1; };
}

// Whatever capture gives must be a label the keyboard table stores and shows back, on every model.
void expectStoredAndShownBack(const std::string& captured) {
    for (int model : {models::kKite, models::kMoss, models::kFern}) {
        const std::uint8_t code = labelToCode(model, kModeKeyboard, captured);
        EXPECT_NE(code, 0) << captured;
        EXPECT_EQ(codeToLabel(model, kModeKeyboard, code), captured) << "model " << model;
    }
}

TEST(KeyCapture, every_captured_key_maps_to_a_code_the_label_table_shows_back) {
    const KeyDownQuery allDown = [](int) { return true; };
    std::set<std::string> labels;
    for (int key = 0; key < 256; ++key) {
        if (const auto captured = labelForVirtualKey(key, allDown)) {
            SCOPED_TRACE(testing::Message() << "key " << key);
            expectStoredAndShownBack(*captured);
            labels.insert(*captured);
        }
    }
    // Letters, digits and F keys are all there.
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(labelForVirtualKey(vk::kLetterA + i, allDown), std::string(1, char('A' + i)));
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(labelForVirtualKey(vk::kDigit0 + i, allDown), std::string(1, char('0' + i)));
        EXPECT_EQ(labelForVirtualKey(vk::kNumpad0 + i, allDown), "Num" + std::to_string(i));
    }
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(labelForVirtualKey(vk::kF1 + i, allDown), "F" + std::to_string(i + 1));
    }
    EXPECT_GE(labels.size(), 100u);
}

TEST(KeyCapture, modifiers_take_the_side_that_is_down) {
    const struct {
        int key;
        std::set<int> down;
        std::optional<std::string> label;
    } rows[] = {
        {vk::kShift, {vk::kLShift}, "LSft"},
        {vk::kShift, {vk::kRShift}, "RSft"},
        {vk::kShift, {vk::kLShift, vk::kRShift}, "LSft"},
        {vk::kControl, {vk::kLControl}, "LCtrl"},
        {vk::kControl, {vk::kRControl}, "RCtrl"},
        {vk::kMenu, {vk::kLMenu}, "LAlt"},
        {vk::kMenu, {vk::kRMenu}, "RAlt"},
        {vk::kShift, {vk::kRControl}, std::nullopt}, // a right Ctrl held is no shift side
        {vk::kMenu, {}, std::nullopt},
        {vk::kLShift, {vk::kLShift}, std::nullopt}, // the side codes themselves are not in the table
    };
    for (const auto& row : rows) {
        EXPECT_EQ(labelForVirtualKey(row.key, downKeys(row.down)), row.label) << row.key;
        if (row.label) {
            expectStoredAndShownBack(*row.label);
        }
    }
    EXPECT_EQ(labelForVirtualKey(vk::kShift, KeyDownQuery{}), std::nullopt);
}

TEST(MouseCapture, buttons_wheel_and_side_buttons) {
    const struct {
        MouseInput input;
        int value;
        std::optional<std::string_view> label;
    } rows[] = {
        {MouseInput::LeftButton, 0, kLabelMouseLeft},
        {MouseInput::MiddleButton, 0, kLabelMouseMiddle},
        {MouseInput::RightButton, 0, kLabelMouseRight},
        {MouseInput::Wheel, 1, kLabelWheelUp},
        {MouseInput::Wheel, 0, kLabelWheelDown},
        {MouseInput::Wheel, -120, kLabelWheelDown},
        {MouseInput::SideButton, kMkXButton1, kLabelSideBack},
        {MouseInput::SideButton, kMkXButton2, kLabelSideForward},
        {MouseInput::SideButton, kMkXButton1 | 0x04, std::nullopt}, // with Shift
        {MouseInput::SideButton, kMkXButton1 | kMkXButton2, std::nullopt},
        {MouseInput::SideButton, 0, std::nullopt},
    };
    for (const auto& row : rows) {
        const auto captured = labelForMouseInput(row.input, row.value);
        EXPECT_EQ(captured, row.label) << static_cast<int>(row.input) << " " << row.value;
        if (captured) {
            expectStoredAndShownBack(*captured);
        }
    }
}

} // namespace
} // namespace zav
