#pragma once

#include <QPoint>

#include <functional>
#include <optional>
#include <string>

class QEvent;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QObject;
class QWidget;

namespace zav {

enum class KeySide { Left, Right };

// The Windows virtual-key code of a key event, so that key capture reads one table on every
// platform; 0 when the key has no such code. Punctuation follows a US layout by character, and
// Shift, Ctrl and Alt give their side-neutral codes 16, 17 and 18.
int windowsVirtualKey(const QKeyEvent& event);

// Which of the two Shift, Ctrl, Alt or Windows keys the event comes from, read from the native
// key; Left when the native key does not tell.
KeySide modifierSide(const QKeyEvent& event);

// The label a key press captures, or std::nullopt when it leaves the captured label as it was.
std::optional<std::string> labelForKeyEvent(const QKeyEvent& event);

// The label a mouse-button press captures (left, middle, right and the two side buttons), or
// std::nullopt when it leaves the captured label as it was.
std::optional<std::string> labelForMouseEvent(const QMouseEvent& event);

// The label a step of the vertical wheel captures, by the wheel's physical direction; a purely
// horizontal step captures nothing.
std::optional<std::string> labelForWheelEvent(const QWheelEvent& event);

// What key capture makes of one event reaching the window while a key is awaited.
struct CapturedEvent {
    bool handled = false; // an event capture cares about
    bool swallow = false; // it reaches no control
    std::optional<std::string> label;
};

// Every key is captured and reaches no control (Alt and F10 included); a left click captures "MsL"
// unless `passThrough(global position)` says it lands on a button that must still work; other buttons
// and the wheel capture their labels.
// A double click is captured as its clicks are, so its second click never presses a button.
CapturedEvent captureEvent(QEvent& event, const std::function<bool(QPoint)>& passThrough);

// Whether a capture running on `page` looks at `event`, sent to `watched`: keys anywhere in the page's
// window, mouse input only over the page, so that the window's tabs, frame buttons, language list and
// background keep working while a key is awaited.
bool captureSees(const QWidget& page, const QObject* watched, const QEvent& event);

} // namespace zav
