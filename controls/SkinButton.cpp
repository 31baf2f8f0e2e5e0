#include "controls/SkinButton.h"

#include "controls/Skin.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zav {

namespace {

constexpr double kCaptionPoints = 9.0;
constexpr int kFrameWidth = 2;
// The focus frame stands one pixel inside the red frame.
constexpr int kFocusInset = 3;

void drawFrame(QPainter& painter, const QRect& rect, int width) {
    painter.fillRect(rect.x(), rect.y(), rect.width(), width, skin::kRed);
    painter.fillRect(rect.x(), rect.bottom() - width + 1, rect.width(), width, skin::kRed);
    painter.fillRect(rect.x(), rect.y(), width, rect.height(), skin::kRed);
    painter.fillRect(rect.right() - width + 1, rect.y(), width, rect.height(), skin::kRed);
}

} // namespace

SkinButton::SkinButton(QWidget* parent) : SkinButton(QString(), parent) {}

SkinButton::SkinButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setMouseTracking(true);
    setAutoDefault(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinButton::setLanguage(int language) {
    language_ = language;
    update();
}

int SkinButton::language() const {
    return language_ < 0 ? skinLanguage() : language_;
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client = rect();
    QColor textColour = skin::kRed;
    if (isDown()) {
        painter.fillRect(client, skin::kRed);
        painter.fillRect(client.adjusted(1, 1, -1, -1), skin::kPressedFill);
        textColour = skin::kWhite;
    } else if (hovered_) {
        painter.fillRect(client, skin::kHoverFill);
        drawFrame(painter, client, kFrameWidth);
    } else {
        drawFrame(painter, client, kFrameWidth);
        const QRect inside = client.adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);
        drawBackgroundPiece(painter, inside, backgroundPieceSource(geometry(), PieceKind::ClickButton));
    }
    painter.setFont(languageFont(kCaptionPoints, language()));
    painter.setPen(textColour);
    painter.drawText(client, Qt::AlignCenter | Qt::TextSingleLine, text());
    if (showsFocusFrame(*this)) {
        drawFocusFrame(painter, client.adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset));
    }
}

void SkinButton::keyPressEvent(QKeyEvent* event) {
    // Enter presses the focused button as Space does, whether or not it is a dialog's default.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void SkinButton::mouseMoveEvent(QMouseEvent* event) {
    setHovered(hoverArea(event->position().toPoint()));
    QPushButton::mouseMoveEvent(event);
}

void SkinButton::enterEvent(QEnterEvent* event) {
    setHovered(hoverArea(event->position().toPoint()));
    QPushButton::enterEvent(event);
}

void SkinButton::leaveEvent(QEvent* event) {
    setHovered(false);
    QPushButton::leaveEvent(event);
}

void SkinButton::setHovered(bool hovered) {
    if (hovered != hovered_) {
        hovered_ = hovered;
        update();
    }
}

bool SkinButton::hoverArea(const QPoint& pos) const {
    // The first row and column of the button do not count as over it.
    return rect().adjusted(1, 1, 0, 0).contains(pos);
}

} // namespace zav
