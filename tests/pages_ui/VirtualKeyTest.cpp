#include "pages/VirtualKey.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace zav {
namespace {

// A key press as a platform plugin delivers it: on X11 the scan code is the X keycode and the
// native key the keysym; on Windows the scan code (bit 8 = extended) and the message's virtual key.
struct KeyPress {
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    std::uint32_t scanCode = 0;
    std::uint32_t nativeKey = 0;
};

std::optional<std::string> labelOf(const KeyPress& p) {
    return labelForKeyEvent(QKeyEvent(QEvent::KeyPress, p.key, p.modifiers, p.scanCode, p.nativeKey, 0));
}

int codeOf(int key) {
    return windowsVirtualKey(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
}

TEST(KeyEventCapture, modifiers_take_their_side_from_the_x11_key) {
    EXPECT_EQ(labelOf({Qt::Key_Shift, Qt::ShiftModifier, 50, 0xffe1}), "LSft");
    EXPECT_EQ(labelOf({Qt::Key_Shift, Qt::ShiftModifier, 62, 0xffe2}), "RSft");
    EXPECT_EQ(labelOf({Qt::Key_Control, Qt::ControlModifier, 37, 0xffe3}), "LCtrl");
    EXPECT_EQ(labelOf({Qt::Key_Control, Qt::ControlModifier, 105, 0xffe4}), "RCtrl");
    EXPECT_EQ(labelOf({Qt::Key_Alt, Qt::AltModifier, 64, 0xffe9}), "LAlt");
    EXPECT_EQ(labelOf({Qt::Key_Alt, Qt::AltModifier, 108, 0xffea}), "RAlt");
    EXPECT_EQ(labelOf({Qt::Key_AltGr, Qt::GroupSwitchModifier, 108, 0xfe03}), "RAlt");
    // Either native value alone is enough.
    EXPECT_EQ(labelOf({Qt::Key_Shift, Qt::ShiftModifier, 0, 0xffe2}), "RSft");
    EXPECT_EQ(labelOf({Qt::Key_Control, Qt::ControlModifier, 105, 0}), "RCtrl");
    // Right Shift pressed while left Shift is held is the right one.
    EXPECT_EQ(labelOf({Qt::Key_Shift, Qt::ShiftModifier, 62, 0xffe2}), "RSft");
}

TEST(KeyEventCapture, modifiers_take_their_side_from_the_windows_scan_code) {
    // Windows key messages carry the neutral virtual keys 16..18.
    EXPECT_EQ(labelOf({Qt::Key_Shift, Qt::ShiftModifier, 0x2a, 16}), "LSft");
    EXPECT_EQ(labelOf({Qt::Key_Shift, Qt::ShiftModifier, 0x36, 16}), "RSft");
    EXPECT_EQ(labelOf({Qt::Key_Control, Qt::ControlModifier, 0x1d, 17}), "LCtrl");
    EXPECT_EQ(labelOf({Qt::Key_Control, Qt::ControlModifier, 0x11d, 17}), "RCtrl");
    EXPECT_EQ(labelOf({Qt::Key_Alt, Qt::AltModifier, 0x138, 18}), "RAlt");
    EXPECT_EQ(labelOf({Qt::Key_Shift, Qt::ShiftModifier, 0, 161}), "RSft");
    EXPECT_EQ(labelOf({Qt::Key_Meta, Qt::MetaModifier, 0x15c, 92}), "RWin");
}

TEST(KeyEventCapture, modifier_of_unknown_side_counts_as_left_but_altgr_is_right) {
    EXPECT_EQ(labelOf({Qt::Key_Shift, Qt::ShiftModifier}), "LSft");
    EXPECT_EQ(labelOf({Qt::Key_Control, Qt::ControlModifier, 9999, 0x1234}), "LCtrl");
    EXPECT_EQ(labelOf({Qt::Key_Meta, Qt::MetaModifier}), "LWin");
    EXPECT_EQ(labelOf({Qt::Key_AltGr}), "RAlt");
}

TEST(KeyEventCapture, keypad_keys_differ_from_the_main_keys) {
    EXPECT_EQ(labelOf({Qt::Key_7}), "7");
    EXPECT_EQ(labelOf({Qt::Key_7, Qt::KeypadModifier}), "Num7");
    EXPECT_EQ(labelOf({Qt::Key_0, Qt::KeypadModifier}), "Num0");
    EXPECT_EQ(labelOf({Qt::Key_Asterisk, Qt::KeypadModifier}), "Num*");
    EXPECT_EQ(labelOf({Qt::Key_Slash, Qt::KeypadModifier}), "Num/");
    // The decimal key of a layout that prints a comma on it.
    EXPECT_EQ(labelOf({Qt::Key_Comma, Qt::KeypadModifier}), "Num.");
    // Keypad Enter and the navigation keys without NumLock share the main keyboard's codes.
    EXPECT_EQ(labelOf({Qt::Key_Enter, Qt::KeypadModifier}), "Enter");
    EXPECT_EQ(labelOf({Qt::Key_Home, Qt::KeypadModifier}), "Home");
}

TEST(KeyEventCapture, characters_capture_the_us_key_they_are_on) {
    EXPECT_EQ(labelOf({Qt::Key_A, Qt::ShiftModifier}), "A");
    EXPECT_EQ(labelOf({Qt::Key_Apostrophe}), "''");
    EXPECT_EQ(labelOf({Qt::Key_QuoteDbl, Qt::ShiftModifier}), "''");
    EXPECT_EQ(labelOf({Qt::Key_QuoteLeft}), "~");
    EXPECT_EQ(labelOf({Qt::Key_Question, Qt::ShiftModifier}), "?");
    EXPECT_EQ(labelOf({Qt::Key_Bar, Qt::ShiftModifier}), "\\");
    EXPECT_EQ(labelOf({Qt::Key_Exclam, Qt::ShiftModifier}), "1");
    EXPECT_EQ(labelOf({Qt::Key_Asterisk, Qt::ShiftModifier}), "8");
    EXPECT_EQ(labelOf({Qt::Key_Plus, Qt::ShiftModifier}), "=");
    EXPECT_EQ(labelOf({Qt::Key_Backtab, Qt::ShiftModifier}), "Tab");
    EXPECT_EQ(labelOf({Qt::Key_SysReq, Qt::AltModifier}), "Print");
}

TEST(KeyEventCapture, keys_with_a_code_but_no_label_change_nothing) {
    EXPECT_EQ(labelOf({Qt::Key_F12}), "F12");
    EXPECT_EQ(codeOf(Qt::Key_F13), 124);
    EXPECT_EQ(codeOf(Qt::Key_F24), 135);
    EXPECT_EQ(labelOf({Qt::Key_F13}), std::nullopt);
    EXPECT_EQ(labelOf({Qt::Key_VolumeUp}), "Sd+");
    EXPECT_EQ(codeOf(Qt::Key_MediaPlay), 179);
    EXPECT_EQ(labelOf({Qt::Key_MediaPlay}), std::nullopt);
    EXPECT_EQ(labelOf({Qt::Key_Clear, Qt::KeypadModifier}), std::nullopt);
    EXPECT_EQ(codeOf(Qt::Key_F25), 0);
    EXPECT_EQ(codeOf(Qt::Key_Adiaeresis), 0);
}

std::optional<std::string> buttonLabel(Qt::MouseButton button, Qt::MouseButtons held = {},
                                       Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return labelForMouseEvent(QMouseEvent(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(110, 110),
                                          button, held | button, modifiers));
}

TEST(MouseEventCapture, buttons_capture_their_labels) {
    EXPECT_EQ(buttonLabel(Qt::LeftButton), "MsL");
    EXPECT_EQ(buttonLabel(Qt::MiddleButton), "MsM");
    EXPECT_EQ(buttonLabel(Qt::RightButton, Qt::LeftButton, Qt::ShiftModifier), "MsR");
    EXPECT_EQ(buttonLabel(Qt::BackButton), "Back");
    EXPECT_EQ(buttonLabel(Qt::ForwardButton, {}, Qt::AltModifier), "Forwd");
    EXPECT_EQ(buttonLabel(Qt::ExtraButton3), std::nullopt);
}

TEST(MouseEventCapture, side_button_with_shift_ctrl_or_another_button_changes_nothing) {
    EXPECT_EQ(buttonLabel(Qt::BackButton, {}, Qt::ShiftModifier), std::nullopt);
    EXPECT_EQ(buttonLabel(Qt::ForwardButton, {}, Qt::ControlModifier), std::nullopt);
    EXPECT_EQ(buttonLabel(Qt::BackButton, Qt::LeftButton), std::nullopt);
    EXPECT_EQ(buttonLabel(Qt::ForwardButton, Qt::BackButton), std::nullopt);
}

std::optional<std::string> wheelLabel(QPoint angleDelta, bool inverted = false) {
    return labelForWheelEvent(QWheelEvent(QPointF(10, 10), QPointF(110, 110), QPoint(), angleDelta,
                                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, inverted));
}

TEST(MouseEventCapture, wheel_captures_the_direction_the_wheel_turned) {
    EXPECT_EQ(wheelLabel(QPoint(0, 120)), "ScrUp");
    EXPECT_EQ(wheelLabel(QPoint(0, -1)), "ScrDo");
    // Natural scrolling reports inverted deltas for the same turn of the wheel.
    EXPECT_EQ(wheelLabel(QPoint(0, -120), true), "ScrUp");
    EXPECT_EQ(wheelLabel(QPoint(120, 0)), std::nullopt);
}

} // namespace
} // namespace zav
