#include "controls/FramedLabel.h"

#include "controls/Skin.h"

#include <QPainter>

namespace zav {

FramedLabel::FramedLabel(QWidget* parent) : FramedLabel(QString(), parent) {}

FramedLabel::FramedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FramedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client = rect();
    painter.fillRect(client, skin::kRed);
    drawBackgroundPiece(painter, client.adjusted(1, 1, -1, -1),
                        backgroundPieceSource(geometry(), PieceKind::EditStatic));
    painter.setPen(skin::kRed);
    painter.drawText(client, Qt::AlignCenter | Qt::TextSingleLine, text());
}

} // namespace zav
