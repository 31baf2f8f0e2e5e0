#include "controls/ToggleButton.h"

#include "controls/Skin.h"
#include "controls/SkinAccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zav {

namespace {
const QColor kHoverFill(80, 7, 11);
}

ToggleButton::ToggleButton(int id, const QString& text, QWidget* parent) : QWidget(parent), text_(text) {
    setObjectName(QString::number(id));
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
    // Reached by Tab; a click leaves the focus where it was, as before.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleRole(this, QAccessible::Button);
    setAccessibleName(text_);
}

void ToggleButton::setOn(bool on) {
    if (on_ == on) {
        return;
    }
    on_ = on;
    if (showsState_) {
        text_ = on_ ? QStringLiteral("ON") : QStringLiteral("OFF");
        setAccessibleName(text_);
    }
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
    update();
}

void ToggleButton::setShowsState(bool shows) {
    showsState_ = shows;
    if (showsState_) {
        text_ = on_ ? QStringLiteral("ON") : QStringLiteral("OFF");
        setAccessibleName(text_);
        update();
    }
}

void ToggleButton::setText(const QString& text) {
    text_ = text;
    setAccessibleName(text_);
    update();
}

void ToggleButton::setLanguage(int language) {
    language_ = language;
    update();
}

void ToggleButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    if (on_) {
        p.fillRect(r, skin::kRed);
        p.setPen(skin::kBlack);
        p.drawRect(r.adjusted(1, 1, -2, -2));
        p.setPen(skin::kWhite);
    } else {
        p.fillRect(r, skin::kRed);
        p.fillRect(r.adjusted(2, 2, -2, -2), hover_ ? kHoverFill : skin::kBlack);
        p.setPen(skin::kRed);
    }
    p.setFont(languageFont(10, language_));
    p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, text_);
    if (showsFocusFrame(*this)) {
        drawFocusFrame(p, r.adjusted(3, 3, -3, -3));
    }
}

void ToggleButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat()) {
            press();
        }
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ToggleButton::press() {
    setOn(press_ == Press::StaysOn ? true : !on_);
    emit clicked();
}

void ToggleButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    down_ = true;
    setOn(press_ == Press::StaysOn ? true : !on_);
}

void ToggleButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !down_) {
        return;
    }
    down_ = false;
    if (rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void ToggleButton::mouseDoubleClickEvent(QMouseEvent*) {
    // A double click is no second press: the button keeps its state.
    update();
}

void ToggleButton::enterEvent(QEnterEvent*) {
    hover_ = true;
    update();
}

void ToggleButton::leaveEvent(QEvent*) {
    hover_ = false;
    update();
}

} // namespace zav
