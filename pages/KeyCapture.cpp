#include "pages/KeyCapture.h"

#include "pages/VirtualKey.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace zav {

KeyCapture::KeyCapture(QWidget& page, QWidget& owner) : QObject(&owner), page_(page), owner_(owner) {}

KeyCapture::~KeyCapture() {
    stop();
}

void KeyCapture::setUsableButtons(QList<QWidget*> buttons) {
    usable_.clear();
    for (QWidget* button : buttons) {
        if (button != nullptr) {
            usable_.append(button);
        }
    }
}

void KeyCapture::start() {
    if (!active_) {
        qApp->installEventFilter(this);
    }
    active_ = true;
    oneKey_ = false;
    keysFree_ = false;
}

void KeyCapture::stop() {
    if (active_) {
        qApp->removeEventFilter(this);
    }
    active_ = false;
    oneKey_ = false;
    keysFree_ = false;
}

bool KeyCapture::overUsableButton(QPoint global) const {
    for (const QPointer<QWidget>& button : usable_) {
        if (button != nullptr && button->isVisible() &&
            button->rect().contains(button->mapFromGlobal(global))) {
            return true;
        }
    }
    return false;
}

bool KeyCapture::eventFilter(QObject* watched, QEvent* event) {
    if (!active_ || !owner_.isVisible() || !captureSees(page_, watched, *event)) {
        return QObject::eventFilter(watched, event);
    }
    const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
                          event->type() == QEvent::ShortcutOverride;
    if (keyEvent && keysFree_) {
        return QObject::eventFilter(watched, event);
    }
    const CapturedEvent taken =
        captureEvent(*event, [this](QPoint global) { return overUsableButton(global); });
    if (!taken.handled) {
        return QObject::eventFilter(watched, event);
    }
    if (taken.label) {
        emit captured(QString::fromStdString(*taken.label));
        if (oneKey_ && event->type() == QEvent::KeyPress) {
            oneKey_ = false;
            keysFree_ = true;
            emit keyTaken();
        }
    }
    return taken.swallow;
}

} // namespace zav
