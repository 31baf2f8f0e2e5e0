#include "controls/CEditStatic.h"

#include "controls/Skin.h"

#include <QPainter>

namespace zav {

CEditStatic::CEditStatic(QWidget* parent) : CEditStatic(QString(), parent) {}

CEditStatic::CEditStatic(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CEditStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client = rect();
    painter.fillRect(client, skin::kRed);
    drawBackgroundPiece(painter, client.adjusted(1, 1, -1, -1),
                        backgroundPieceSource(geometry(), PieceKind::EditStatic));
    painter.setPen(skin::kRed);
    painter.drawText(client, Qt::AlignCenter | Qt::TextSingleLine, text());
}

} // namespace zav
