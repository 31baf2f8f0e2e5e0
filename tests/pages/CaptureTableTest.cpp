#include "pages/CaptureTable.h"
#include "pages/KeyTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

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

TEST(KeyCapture, modifiers_take_the_side_that_is_down_and_mouse_buttons_wheel_and_side_buttons_map) {
    // A right Ctrl held is no shift side; the side codes themselves are not in the table.
    using vk::kShift, vk::kControl, vk::kMenu, vk::kLShift, vk::kRShift;
    const std::tuple<int, std::set<int>, std::optional<std::string>> rows[] = {
        {kShift, {kLShift}, "LSft"},
        {kShift, {kRShift}, "RSft"},
        {kShift, {kLShift, kRShift}, "LSft"},
        {kControl, {vk::kLControl}, "LCtrl"},
        {kControl, {vk::kRControl}, "RCtrl"},
        {kMenu, {vk::kLMenu}, "LAlt"},
        {kMenu, {vk::kRMenu}, "RAlt"},
        {kShift, {vk::kRControl}, std::nullopt},
        {kMenu, {}, std::nullopt},
        {kLShift, {kLShift}, std::nullopt}};
    for (const auto& [key, down, label] : rows) {
        EXPECT_EQ(labelForVirtualKey(key, downKeys(down)), label) << key;
        if (label) {
            expectStoredAndShownBack(*label);
        }
    }
    EXPECT_EQ(labelForVirtualKey(vk::kShift, KeyDownQuery{}), std::nullopt);

    using enum MouseInput;
    const std::tuple<MouseInput, int, std::optional<std::string_view>> mouseRows[] = {
        {LeftButton, 0, kLabelMouseLeft},
        {MiddleButton, 0, kLabelMouseMiddle},
        {RightButton, 0, kLabelMouseRight},
        {Wheel, 1, kLabelWheelUp},
        {Wheel, 0, kLabelWheelDown},
        {Wheel, -120, kLabelWheelDown},
        {SideButton, kMkXButton1, kLabelSideBack},
        {SideButton, kMkXButton2, kLabelSideForward},
        {SideButton, kMkXButton1 | 0x04 /* with Shift */, std::nullopt},
        {SideButton, kMkXButton1 | kMkXButton2, std::nullopt},
        {SideButton, 0, std::nullopt}};
    for (const auto& [input, value, mouseLabel] : mouseRows) {
        const auto captured = labelForMouseInput(input, value);
        EXPECT_EQ(captured, mouseLabel) << static_cast<int>(input) << " " << value;
        if (captured) {
            expectStoredAndShownBack(*captured);
        }
    }
}

} // namespace
} // namespace zav
