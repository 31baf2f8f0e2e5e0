#include "pages/BusyCover.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

namespace zav {

BusyCover::BusyCover(int cursorDelayMs, QWidget* page) : QWidget(page) {
    setObjectName(QStringLiteral("busyCover"));
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    cursorDelay_.setSingleShot(true);
    cursorDelay_.setInterval(cursorDelayMs);
    connect(&cursorDelay_, &QTimer::timeout, this, [this] { setCursor(Qt::BusyCursor); });
    hide();
}

void BusyCover::enter() {
    count(+1);
}

void BusyCover::leave() {
    count(-1);
}

void BusyCover::count(int change) {
    pending_ = std::max(0, pending_ + change);
    setGeometry(parentWidget()->rect());
    if (pending_ > 0) {
        // The window's own focus widget: the window need not be the active one.
        if (QWidget* focus = window()->focusWidget(); focus != this) {
            focusBefore_ = focus;
        }
        show();
        raise();
        setFocus();
        return;
    }
    const bool hadFocus = window()->focusWidget() == this;
    hide();
    if (hadFocus && focusBefore_ != nullptr && focusBefore_->isVisible() && focusBefore_->isEnabled()) {
        focusBefore_->setFocus();
    }
    focusBefore_ = nullptr;
}

void BusyCover::showEvent(QShowEvent*) {
    cursorDelay_.start();
}

void BusyCover::hideEvent(QHideEvent*) {
    cursorDelay_.stop();
    unsetCursor();
}

void BusyCover::mousePressEvent(QMouseEvent* e) {
    e->accept();
}

void BusyCover::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
}

void BusyCover::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
}

void BusyCover::wheelEvent(QWheelEvent* e) {
    e->accept();
}

void BusyCover::keyPressEvent(QKeyEvent* e) {
    e->accept();
}

} // namespace zav
