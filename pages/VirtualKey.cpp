#include "pages/VirtualKey.h"

#include "pages/CaptureTable.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cstdint>

namespace zav {
namespace {

// Every table below is searched by its `key` field.
template <typename Entry, std::size_t N, typename Key>
const Entry* findEntry(const std::array<Entry, N>& table, Key key) {
    const auto entry =
        std::find_if(table.begin(), table.end(), [key](const Entry& e) { return e.key == key; });
    return entry == table.end() ? nullptr : &*entry;
}

struct KeyCode {
    int key; // Qt::Key
    int virtualKey;
};

// Keys other than letters, digits and F-keys. A US layout gives the shifted character of a key
// as the Qt key while Shift is held; Windows names the key itself, so both map to one code.
constexpr auto kKeyCodes = std::to_array<KeyCode>({
    {Qt::Key_Backspace, vk::kBack},
    {Qt::Key_Tab, vk::kTab},
    {Qt::Key_Backtab, vk::kTab}, // Shift+Tab
    {Qt::Key_Clear, 12},         // keypad 5 without NumLock
    {Qt::Key_Return, vk::kReturn},
    {Qt::Key_Enter, vk::kReturn},
    {Qt::Key_Shift, vk::kShift},
    {Qt::Key_Control, vk::kControl},
    {Qt::Key_Alt, vk::kMenu},
    {Qt::Key_AltGr, vk::kMenu},
    {Qt::Key_Pause, vk::kPause},
    {Qt::Key_CapsLock, vk::kCapital},
    {Qt::Key_Escape, vk::kEscape},
    {Qt::Key_Space, vk::kSpace},
    {Qt::Key_PageUp, vk::kPrior},
    {Qt::Key_PageDown, vk::kNext},
    {Qt::Key_End, vk::kEnd},
    {Qt::Key_Home, vk::kHome},
    {Qt::Key_Left, vk::kLeft},
    {Qt::Key_Up, vk::kUp},
    {Qt::Key_Right, vk::kRight},
    {Qt::Key_Down, vk::kDown},
    {Qt::Key_Select, 41},
    {Qt::Key_Printer, 42},
    {Qt::Key_Execute, 43},
    {Qt::Key_Print, vk::kSnapshot},
    {Qt::Key_SysReq, vk::kSnapshot}, // Alt+Print Screen
    {Qt::Key_Insert, vk::kInsert},
    {Qt::Key_Delete, vk::kDelete},
    {Qt::Key_Help, 47},
    {Qt::Key_Super_L, vk::kLWin},
    {Qt::Key_Super_R, vk::kRWin},
    {Qt::Key_Menu, vk::kApps},
    {Qt::Key_Sleep, 95},
    {Qt::Key_NumLock, vk::kNumLock},
    {Qt::Key_ScrollLock, vk::kScroll},
    {Qt::Key_Back, 166},
    {Qt::Key_Forward, 167},
    {Qt::Key_Refresh, 168},
    {Qt::Key_Stop, 169},
    {Qt::Key_Search, 170},
    {Qt::Key_Favorites, 171},
    {Qt::Key_HomePage, 172},
    {Qt::Key_VolumeMute, 173},
    {Qt::Key_VolumeDown, vk::kVolumeDown},
    {Qt::Key_VolumeUp, vk::kVolumeUp},
    {Qt::Key_MediaNext, 176},
    {Qt::Key_MediaPrevious, 177},
    {Qt::Key_MediaStop, 178},
    {Qt::Key_MediaPlay, 179},
    {Qt::Key_MediaTogglePlayPause, 179},
    {Qt::Key_LaunchMail, 180},
    {Qt::Key_LaunchMedia, 181},
    {Qt::Key_Launch0, 182},
    {Qt::Key_Launch1, 183},
    {Qt::Key_ParenRight, vk::kDigit0 + 0},
    {Qt::Key_Exclam, vk::kDigit0 + 1},
    {Qt::Key_At, vk::kDigit0 + 2},
    {Qt::Key_NumberSign, vk::kDigit0 + 3},
    {Qt::Key_Dollar, vk::kDigit0 + 4},
    {Qt::Key_Percent, vk::kDigit0 + 5},
    {Qt::Key_AsciiCircum, vk::kDigit0 + 6},
    {Qt::Key_Ampersand, vk::kDigit0 + 7},
    {Qt::Key_Asterisk, vk::kDigit0 + 8},
    {Qt::Key_ParenLeft, vk::kDigit0 + 9},
    {Qt::Key_Semicolon, vk::kOem1},
    {Qt::Key_Colon, vk::kOem1},
    {Qt::Key_Equal, vk::kOemPlus},
    {Qt::Key_Plus, vk::kOemPlus},
    {Qt::Key_Comma, vk::kOemComma},
    {Qt::Key_Less, vk::kOemComma},
    {Qt::Key_Minus, vk::kOemMinus},
    {Qt::Key_Underscore, vk::kOemMinus},
    {Qt::Key_Period, vk::kOemPeriod},
    {Qt::Key_Greater, vk::kOemPeriod},
    {Qt::Key_Slash, vk::kOem2},
    {Qt::Key_Question, vk::kOem2},
    {Qt::Key_QuoteLeft, vk::kOem3},
    {Qt::Key_AsciiTilde, vk::kOem3},
    {Qt::Key_BracketLeft, vk::kOem4},
    {Qt::Key_BraceLeft, vk::kOem4},
    {Qt::Key_Backslash, vk::kOem5},
    {Qt::Key_Bar, vk::kOem5},
    {Qt::Key_BracketRight, vk::kOem6},
    {Qt::Key_BraceRight, vk::kOem6},
    {Qt::Key_Apostrophe, vk::kOem7},
    {Qt::Key_QuoteDbl, vk::kOem7},
});

// Keypad keys whose code differs from the main keyboard's. The decimal key is the decimal key
// whichever separator the layout prints on it. The rest of the keypad (Enter, and the
// navigation keys without NumLock) shares the main keyboard's codes.
constexpr auto kKeypadCodes = std::to_array<KeyCode>({
    {Qt::Key_Asterisk, vk::kMultiply},
    {Qt::Key_Plus, vk::kAdd},
    {Qt::Key_Minus, vk::kSubtract},
    {Qt::Key_Period, vk::kDecimal},
    {Qt::Key_Comma, vk::kDecimal},
    {Qt::Key_Slash, vk::kDivide},
});

constexpr int kF24 = 135;

struct NativeSide {
    std::uint32_t key;
    KeySide side;
};

// nativeVirtualKey() of a modifier: the keysym on X11 and Wayland, the side-specific virtual key
// where Windows hands one over (its key messages usually carry the neutral 16..18, see below).
constexpr auto kSideByNativeKey = std::to_array<NativeSide>({
    {0xffe1, KeySide::Left},  // Shift_L
    {0xffe2, KeySide::Right}, // Shift_R
    {0xffe3, KeySide::Left},  // Control_L
    {0xffe4, KeySide::Right}, // Control_R
    {0xffe7, KeySide::Left},  // Meta_L
    {0xffe8, KeySide::Right}, // Meta_R
    {0xffe9, KeySide::Left},  // Alt_L
    {0xffea, KeySide::Right}, // Alt_R
    {0xffeb, KeySide::Left},  // Super_L
    {0xffec, KeySide::Right}, // Super_R
    {0xfe03, KeySide::Right}, // ISO_Level3_Shift, the AltGr key
    {vk::kLShift, KeySide::Left},    {vk::kRShift, KeySide::Right}, {vk::kLControl, KeySide::Left},
    {vk::kRControl, KeySide::Right}, {vk::kLMenu, KeySide::Left},   {vk::kRMenu, KeySide::Right},
    {vk::kLWin, KeySide::Left},      {vk::kRWin, KeySide::Right},
});

// nativeScanCode() of a modifier: the X keycode on X11 (Wayland passes the evdev code + 8, the
// same numbers), and on Windows the scan code with the extended-key flag as bit 8, which is
// all that tells right Ctrl and right Alt from the left ones there. The two sets do not overlap.
constexpr auto kSideByScanCode = std::to_array<NativeSide>({
    {50, KeySide::Left},     // X: left Shift
    {62, KeySide::Right},    // X: right Shift
    {37, KeySide::Left},     // X: left Ctrl
    {105, KeySide::Right},   // X: right Ctrl
    {64, KeySide::Left},     // X: left Alt
    {108, KeySide::Right},   // X: right Alt
    {133, KeySide::Left},    // X: left Windows key
    {134, KeySide::Right},   // X: right Windows key
    {0x2a, KeySide::Left},   // Windows: left Shift
    {0x36, KeySide::Right},  // Windows: right Shift
    {0x1d, KeySide::Left},   // Windows: left Ctrl
    {0x11d, KeySide::Right}, // Windows: right Ctrl
    {0x38, KeySide::Left},   // Windows: left Alt
    {0x138, KeySide::Right}, // Windows: right Alt
    {0x15b, KeySide::Left},  // Windows: left Windows key
    {0x15c, KeySide::Right}, // Windows: right Windows key
});

struct SideKeys {
    int key; // side-neutral virtual key
    int left;
    int right;
};

constexpr auto kSideKeys = std::to_array<SideKeys>({
    {vk::kShift, vk::kLShift, vk::kRShift},
    {vk::kControl, vk::kLControl, vk::kRControl},
    {vk::kMenu, vk::kLMenu, vk::kRMenu},
});

struct ButtonInput {
    Qt::MouseButton key;
    MouseInput input;
};

constexpr auto kButtonInputs = std::to_array<ButtonInput>({
    {Qt::LeftButton, MouseInput::LeftButton},
    {Qt::MiddleButton, MouseInput::MiddleButton},
    {Qt::RightButton, MouseInput::RightButton},
    {Qt::BackButton, MouseInput::SideButton},
    {Qt::ForwardButton, MouseInput::SideButton},
});

struct ButtonFlag {
    Qt::MouseButton key;
    int flag;
};

// Key-state flags of a Windows mouse message.
constexpr auto kButtonFlags = std::to_array<ButtonFlag>({
    {Qt::LeftButton, 0x01},
    {Qt::RightButton, 0x02},
    {Qt::MiddleButton, 0x10},
    {Qt::BackButton, kMkXButton1},
    {Qt::ForwardButton, kMkXButton2},
});

constexpr int kMkShift = 0x04;
constexpr int kMkControl = 0x08;

// The key-state flags a side-button press carries: every button held, this one included, and
// Shift and Ctrl.
int keyStateFlags(const QMouseEvent& event) {
    const Qt::MouseButtons held = event.buttons() | event.button();
    int flags = 0;
    for (const ButtonFlag& entry : kButtonFlags) {
        if (held.testFlag(entry.key)) {
            flags |= entry.flag;
        }
    }
    if (event.modifiers().testFlag(Qt::ShiftModifier)) {
        flags |= kMkShift;
    }
    if (event.modifiers().testFlag(Qt::ControlModifier)) {
        flags |= kMkControl;
    }
    return flags;
}

} // namespace

int windowsVirtualKey(const QKeyEvent& event) {
    const int key = event.key();
    if (event.modifiers().testFlag(Qt::KeypadModifier)) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) {
            return vk::kNumpad0 + (key - Qt::Key_0);
        }
        if (const KeyCode* entry = findEntry(kKeypadCodes, key)) {
            return entry->virtualKey;
        }
    }
    // Letters and digits have the same numbers in both sets.
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return key;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F1 + (kF24 - vk::kF1)) {
        return vk::kF1 + (key - Qt::Key_F1);
    }
    if (key == Qt::Key_Meta) {
        return modifierSide(event) == KeySide::Right ? vk::kRWin : vk::kLWin;
    }
    if (const KeyCode* entry = findEntry(kKeyCodes, key)) {
        return entry->virtualKey;
    }
    return 0;
}

KeySide modifierSide(const QKeyEvent& event) {
    // AltGr is the right Alt key on every layout that has one.
    if (event.key() == Qt::Key_AltGr) {
        return KeySide::Right;
    }
    // X11 and Wayland name the side in the keysym; Windows key messages carry the neutral
    // virtual key and leave the side to the scan code. Try the virtual key, then the scan code.
    if (const NativeSide* entry = findEntry(kSideByNativeKey, event.nativeVirtualKey())) {
        return entry->side;
    }
    if (const NativeSide* entry = findEntry(kSideByScanCode, event.nativeScanCode())) {
        return entry->side;
    }
    return KeySide::Left;
}

std::optional<std::string> labelForKeyEvent(const QKeyEvent& event) {
    const int virtualKey = windowsVirtualKey(event);
    if (virtualKey == 0) {
        return std::nullopt;
    }
    // The key being pressed is the side that counts as down, whatever else is held.
    int downKey = 0;
    if (const SideKeys* sides = findEntry(kSideKeys, virtualKey)) {
        downKey = modifierSide(event) == KeySide::Right ? sides->right : sides->left;
    }
    return labelForVirtualKey(virtualKey, [downKey](int key) { return key == downKey; });
}

std::optional<std::string> labelForMouseEvent(const QMouseEvent& event) {
    const ButtonInput* entry = findEntry(kButtonInputs, event.button());
    if (entry == nullptr) {
        return std::nullopt;
    }
    const int value = entry->input == MouseInput::SideButton ? keyStateFlags(event) : 0;
    return labelForMouseInput(entry->input, value);
}

std::optional<std::string> labelForWheelEvent(const QWheelEvent& event) {
    // Follow the wheel itself, not the desktop's choice of scrolling direction.
    const int delta = event.inverted() ? -event.angleDelta().y() : event.angleDelta().y();
    if (delta == 0) {
        return std::nullopt;
    }
    return labelForMouseInput(MouseInput::Wheel, delta);
}

CapturedEvent captureEvent(QEvent& event, const std::function<bool(QPoint)>& passThrough) {
    CapturedEvent result;
    switch (event.type()) {
    case QEvent::KeyPress:
        result = {true, true, labelForKeyEvent(static_cast<QKeyEvent&>(event))};
        event.accept();
        break;
    case QEvent::ShortcutOverride:
        event.accept();
        result = {true, true, std::nullopt};
        break;
    case QEvent::KeyRelease:
        result = {true, true, std::nullopt};
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto& mouse = static_cast<QMouseEvent&>(event);
        if (mouse.button() == Qt::LeftButton) {
            if (!passThrough(mouse.globalPosition().toPoint())) {
                result = {true, true, labelForMouseInput(MouseInput::LeftButton)};
            }
        } else {
            result = {true, false, labelForMouseEvent(mouse)};
        }
        break;
    }
    case QEvent::Wheel:
        result = {true, true, labelForWheelEvent(static_cast<QWheelEvent&>(event))};
        break;
    default:
        break;
    }
    return result;
}

bool captureSees(const QWidget& page, const QObject* watched, const QEvent& event) {
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget == nullptr || !page.isVisible()) {
        return false;
    }
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return widget == &page || page.isAncestorOf(widget);
    default:
        return widget->window() == page.window();
    }
}

} // namespace zav
