#include "pages/MoveButton.h"

#include "controls/Skin.h"
#include "controls/SkinAccessible.h"
#include "pages/KeyTables.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace zav {

namespace {

QFont labelFont(const QString& label) {
    const std::string utf8 = label.toStdString();
    if (isWingdingsLabel(utf8)) {
        return skinFont(FontFace::Wingdings, 8, 0);
    }
    if (utf8 == kLabelCircle) {
        return skinFont(FontFace::Arial, 15, 0);
    }
    return skinFont(FontFace::Arial, 8, 0);
}

} // namespace

MoveButton::MoveButton(int id, const QString& label, QWidget* parent) : QWidget(parent), label_(label) {
    setObjectName(QString::number(id));
    // Reached by Tab; a click or a drag leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleRole(this, QAccessible::Button);
    setAccessibleName(shownLabel());
}

QString MoveButton::shownLabel() const {
    if (isWingdingsLabel(label_.toStdString())) {
        return QString::fromStdString(wingdingsToUnicode(label_.toStdString()));
    }
    return label_;
}

void MoveButton::setLabel(const QString& label) {
    label_ = label;
    // A key slot's name, which tells its number too, is the page's to give.
    if (!isSlotButton()) {
        setAccessibleName(shownLabel());
    }
    update();
}

void MoveButton::makeSlotButton(int slot) {
    slot_ = slot;
    setObjectName(QString::number(kSlotButtonControlId));
}

void MoveButton::setSelected(bool selected) {
    selected_ = selected;
    update();
}

void MoveButton::setCaptureLook(bool on) {
    captureLook_ = on;
    update();
}

void MoveButton::goHome() {
    if (moved_) {
        setGeometry(home_);
    }
    moved_ = false;
}

void MoveButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    const QString shown = shownLabel();
    if (captureLook_ && selected_) {
        p.fillRect(r, skin::kBlack);
        p.fillRect(r.adjusted(2, 2, -2, -2), skin::kRed);
        p.setPen(skin::kWhite);
        p.setFont(skinFont(FontFace::Arial, 8, 0));
        p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, shown);
        if (showsFocusFrame(*this)) {
            drawFocusFrame(p, r.adjusted(3, 3, -3, -3));
        }
        return;
    }
    p.fillRect(r, skin::kRed);
    p.fillRect(r.adjusted(2, 2, -2, -2), skin::kBlack);
    // The face shows the page background that lies behind the button.
    const QRect inner = r.adjusted(1, 1, -1, -1);
    const QRect source(geometry().x(), geometry().y() + 45, inner.width(), inner.height());
    drawBackgroundPiece(p, inner.adjusted(1, 1, -1, -1), source.adjusted(1, 1, -1, -1));
    p.setPen(skin::kRed);
    p.setFont(isWingdingsLabel(label_.toStdString()) ? skinFont(FontFace::Wingdings, 8, 0)
                                                     : labelFont(label_));
    p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, shown);
    if (showsFocusFrame(*this)) {
        drawFocusFrame(p, r.adjusted(3, 3, -3, -3));
    }
}

void MoveButton::keyPressEvent(QKeyEvent* event) {
    const bool press =
        event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!press) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || pressed_) {
        return;
    }
    if (isSlotButton()) {
        emit slotClicked(this, true);
    } else {
        emit picked(this);
    }
}

void MoveButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (isSlotButton()) {
        return;
    }
    pressed_ = true;
    if (!moved_) {
        home_ = geometry();
    }
    raise();
}

void MoveButton::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_ || isSlotButton() || parentWidget() == nullptr) {
        return;
    }
    // Centred under the pointer, never leaving the page.
    const QPoint cursor = parentWidget()->mapFromGlobal(event->globalPosition().toPoint());
    const QSize area = parentWidget()->size();
    const int x = std::clamp(cursor.x() - width() / 2, 0, std::max(0, area.width() - width()));
    const int y = std::clamp(cursor.y() - height() / 2, 0, std::max(0, area.height() - height()));
    move(x, y);
    moved_ = true;
    parentWidget()->update();
}

void MoveButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (isSlotButton()) {
        if (rect().contains(event->position().toPoint())) {
            emit slotClicked(this, false);
        }
        return;
    }
    if (!pressed_) {
        return;
    }
    pressed_ = false;
    // A click that moved nothing picks the function for the selected slot.
    if (!moved_) {
        if (rect().contains(event->position().toPoint())) {
            emit picked(this);
        }
        return;
    }
    emit dropped(this, event->globalPosition().toPoint());
}

} // namespace zav
