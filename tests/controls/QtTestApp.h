#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QUrl>

#include <ostream>

class QWidget;

namespace zav::test {

// What a widget shows, drawn by its own paint code.
QImage snapshot(QWidget& widget);

// True when some pixel of the area is within `tolerance` of the colour in every channel.
bool anyPixel(const QImage& image, const QRect& area, const QColor& colour, int tolerance = 0);

bool sameColour(QRgb pixel, const QColor& colour, int tolerance = 0);

// A left click as the window system delivers it: press and release go to the top-level window at
// the widget's point, so an open popup takes the release as it would on screen.
void windowClick(QWidget& widget, QPoint at, Qt::KeyboardModifiers modifiers = {});
void windowPress(QWidget& widget, QPoint at);
void windowRelease(QWidget& widget, QPoint at);

} // namespace zav::test

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QRect& rect, std::ostream* out) {
    *out << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << ", " << rect.height() << ")";
}
inline void PrintTo(const QSize& size, std::ostream* out) {
    *out << "QSize(" << size.width() << ", " << size.height() << ")";
}
inline void PrintTo(const QUrl& url, std::ostream* out) {
    *out << url.toString().toStdString();
}
