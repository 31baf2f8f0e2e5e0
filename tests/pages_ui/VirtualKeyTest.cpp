#include "pages/VirtualKey.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace zav {
namespace {

// As a platform delivers it: X11 keycode and keysym, or Windows scan code (bit 8 extended) and virtual key.
struct KeyPress {
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    std::uint32_t scanCode = 0, nativeKey = 0;
    std::optional<std::string> label;
};

TEST(EventCapture, the_event_of_a_key_a_button_or_the_wheel_gives_its_label) {
    const KeyPress presses[] = {
        // The side of a modifier, from the X11 key or the Windows scan code; either value alone does.
        {Qt::Key_Shift, Qt::ShiftModifier, 50, 0xffe1, "LSft"},
        {Qt::Key_Shift, Qt::ShiftModifier, 62, 0xffe2, "RSft"},
        {Qt::Key_Shift, Qt::ShiftModifier, 0, 0xffe2, "RSft"},
        {Qt::Key_AltGr, Qt::GroupSwitchModifier, 108, 0xfe03, "RAlt"},
        {Qt::Key_Shift, Qt::ShiftModifier, 0x36, 16, "RSft"},
        {Qt::Key_Meta, Qt::MetaModifier, 0x15c, 92, "RWin"},
        // Of unknown side: left, but AltGr is right.
        {Qt::Key_Control, Qt::ControlModifier, 9999, 0x1234, "LCtrl"},
        {Qt::Key_AltGr, Qt::NoModifier, 0, 0, "RAlt"},
        // Keypad keys differ from the main keys, but Enter and navigation keys share their codes.
        {Qt::Key_7, Qt::NoModifier, 0, 0, "7"},
        {Qt::Key_7, Qt::KeypadModifier, 0, 0, "Num7"},
        {Qt::Key_Enter, Qt::KeypadModifier, 0, 0, "Enter"},
        {Qt::Key_Home, Qt::KeypadModifier, 0, 0, "Home"},
        // Characters capture the US key they are on.
        {Qt::Key_QuoteDbl, Qt::ShiftModifier, 0, 0, "''"},
        {Qt::Key_Exclam, Qt::ShiftModifier, 0, 0, "1"},
        {Qt::Key_Backtab, Qt::ShiftModifier, 0, 0, "Tab"},
        {Qt::Key_SysReq, Qt::AltModifier, 0, 0, "Print"},
        {Qt::Key_F13, Qt::NoModifier, 0, 0, std::nullopt},
    };
    for (const KeyPress& p : presses) {
        EXPECT_EQ(
            labelForKeyEvent(QKeyEvent(QEvent::KeyPress, p.key, p.modifiers, p.scanCode, p.nativeKey, 0)),
            p.label)
            << std::hex << p.key << " " << p.scanCode << " " << p.nativeKey;
    }
    const auto button = [](Qt::MouseButton b, Qt::MouseButtons held = {}, Qt::KeyboardModifiers mods = {}) {
        return labelForMouseEvent(
            QMouseEvent(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(110, 110), b, held | b, mods));
    };
    EXPECT_EQ(button(Qt::RightButton, Qt::LeftButton, Qt::ShiftModifier), "MsR");
    EXPECT_EQ(button(Qt::ForwardButton, {}, Qt::AltModifier), "Forwd");
    // A side button with Shift, Ctrl or another button held changes nothing.
    EXPECT_EQ(button(Qt::BackButton, {}, Qt::ShiftModifier), std::nullopt);
    EXPECT_EQ(button(Qt::BackButton, Qt::LeftButton), std::nullopt);

    const auto wheel = [](QPoint delta, bool inverted = false) {
        return labelForWheelEvent(QWheelEvent(QPointF(10, 10), QPointF(110, 110), QPoint(), delta,
                                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, inverted));
    };
    EXPECT_EQ(wheel(QPoint(0, -1)), "ScrDo");
    // Natural scrolling reports inverted deltas for the same turn of the wheel.
    EXPECT_EQ(wheel(QPoint(0, -120), true), "ScrUp");
    EXPECT_EQ(wheel(QPoint(120, 0)), std::nullopt);
}

} // namespace
} // namespace zav
