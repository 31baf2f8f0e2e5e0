#include "controls/Skin.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QStringList>
#include <QThread>
#include <QWidget>
#include <QtGlobal>

#include <array>
#include <atomic>

// Resources of a static library are registered by hand, and only from the global namespace.
static void registerSkinResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(skin);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace zav {

namespace {

int g_skinLanguage = 0;

struct GlyphRow {
    char16_t label;
    char16_t glyph;
};

// What the Wingdings font draws for the characters that console-function labels use.
constexpr std::array kWingdingsGlyphs{
    GlyphRow{u'o', u'\u25A1'},      // white square
    GlyphRow{u'\u00E1', u'\u2191'}, // á: up arrow
    GlyphRow{u'\u00E2', u'\u2193'}, // â: down arrow
    GlyphRow{u'\u00DF', u'\u2190'}, // ß: left arrow
    GlyphRow{u'\u00E0', u'\u2192'}, // à: right arrow
    GlyphRow{u'\u00E9', u'\u2B06'}, // é: heavy up arrow
    GlyphRow{u'\u00EA', u'\u2B07'}, // ê: heavy down arrow
    GlyphRow{u'\u00E7', u'\u2B05'}, // ç: heavy left arrow
    GlyphRow{u'\u00E8', u'\u27A1'}, // è: heavy right arrow
    GlyphRow{u'\u00EB', u'\u2B09'}, // ë: up-left arrow
    GlyphRow{u'\u00EC', u'\u2B08'}, // ì: up-right arrow
    GlyphRow{u'\u00ED', u'\u2B0B'}, // í: down-left arrow
    GlyphRow{u'\u00EE', u'\u2B0A'}, // î: down-right arrow
};

struct CjkRow {
    int language;
    std::array<const char*, 3> families;
    // Qt keeps one fallback chain per primary face and strategy, so each chain gets its own strategy;
    // these strategies change nothing for scalable fonts.
    QFont::StyleStrategy strategy;
};

// Chinese and Japanese texts drawn in "Arial" take their glyphs from the matching CJK face; the
// language list shows all three scripts whatever the language.
constexpr std::array kCjkFallbacks{
    CjkRow{
        skin::kJapanese, {"Noto Sans CJK JP", "Noto Sans CJK SC", "Noto Sans CJK TC"}, QFont::PreferQuality},
    CjkRow{skin::kSimplifiedChinese,
           {"Noto Sans CJK SC", "Noto Sans CJK TC", "Noto Sans CJK JP"},
           QFont::PreferDefault},
    CjkRow{skin::kTraditionalChinese,
           {"Noto Sans CJK TC", "Noto Sans CJK SC", "Noto Sans CJK JP"},
           QFont::PreferMatch},
};
constexpr CjkRow kDefaultCjk{
    -1, {"Noto Sans CJK SC", "Noto Sans CJK TC", "Noto Sans CJK JP"}, QFont::PreferDefault};

const CjkRow& cjkFallbacksFor(int language) {
    for (const CjkRow& row : kCjkFallbacks) {
        if (row.language == language) {
            return row;
        }
    }
    return kDefaultCjk;
}

struct PieceRow {
    PieceKind kind;
    QPoint shift;
    bool clampRightTo950;
};

// Pages sit at about this offset inside the main window's picture.
constexpr std::array kPieceRows{
    PieceRow{PieceKind::ClickButton, QPoint(4, 45), true},
    PieceRow{PieceKind::ComboBox, QPoint(4, 45), false},
    PieceRow{PieceKind::EditStatic, QPoint(0, 45), false},
};
constexpr int kPieceRightLimit = 950;

const PieceRow& pieceRowFor(PieceKind kind) {
    for (const PieceRow& row : kPieceRows) {
        if (row.kind == kind) {
            return row;
        }
    }
    return kPieceRows.front();
}

QString faceName(FontFace face) {
    switch (face) {
    case FontFace::MeiryoUi:
        return QStringLiteral("Meiryo UI");
    case FontFace::Wingdings:
        return QStringLiteral("Wingdings");
    case FontFace::Arial:
        break;
    }
    return QStringLiteral("Arial");
}

// Keys that move the focus or press the focused control show the focus frames; a mouse press hides them.
class FocusCueWatch : public QObject {
public:
    using QObject::QObject;
    bool shown = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && !shown) {
            switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
            case Qt::Key_Home:
            case Qt::Key_End:
            case Qt::Key_Space:
            case Qt::Key_Return:
            case Qt::Key_Enter:
                setShown(true);
                break;
            default:
                break;
            }
        } else if (event->type() == QEvent::MouseButtonPress && shown) {
            setShown(false);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void setShown(bool on) {
        shown = on;
        // A combo box draws the frame of its edit part's focus.
        for (QWidget* w = QApplication::focusWidget(); w != nullptr && !w->isWindow();
             w = w->parentWidget()) {
            w->update();
        }
    }
};

std::atomic<bool> g_denseScreens{false};

QImage loadPicture(const char* path) {
    registerSkinResources();
    const QString plain = QString::fromLatin1(path);
    const QString dense = plain.chopped(4) + QStringLiteral("@2x.png");
    const bool useDense = denseScreens() && QFile::exists(dense);
    QImage image(useDense ? dense : plain);
    if (!image.isNull() && image.format() != QImage::Format_RGB32) {
        image.convertTo(QImage::Format_RGB32);
    }
    image.setDevicePixelRatio(useDense ? 2.0 : 1.0);
    return image;
}

} // namespace

bool denseScreens() {
    if (const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
        app != nullptr && QThread::currentThread() == app->thread()) {
        g_denseScreens = app->devicePixelRatio() > 1.0;
    }
    return g_denseScreens;
}

void drawPicturePart(QPainter& painter, const QRectF& target, const QImage& image, const QRect& source) {
    const qreal ratio = image.devicePixelRatio();
    painter.drawImage(
        target, image,
        QRectF(source.x() * ratio, source.y() * ratio, source.width() * ratio, source.height() * ratio));
}

void setSkinLanguage(int language) {
    g_skinLanguage = language;
}

int skinLanguage() {
    return g_skinLanguage;
}

void installFontSubstitutions() {
    static const bool installed = [] {
        QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
        QFont::insertSubstitutions(QStringLiteral("Meiryo UI"), {QStringLiteral("Noto Sans CJK JP")});
        QFont::insertSubstitutions(QStringLiteral("Wingdings"), {QStringLiteral("DejaVu Sans")});
        return true;
    }();
    Q_UNUSED(installed);
}

QFont skinFont(FontFace face, double points, int language) {
    installFontSubstitutions();
    // Substitutes come right after their name, before any fallback for other scripts.
    QStringList families{faceName(face)};
    families += QFont::substitutes(families.front());
    QFont font;
    if (face != FontFace::Wingdings) {
        const CjkRow& cjk = cjkFallbacksFor(language);
        for (const char* family : cjk.families) {
            families.append(QString::fromLatin1(family));
        }
        font.setStyleStrategy(cjk.strategy);
    }
    families.removeDuplicates();
    font.setFamilies(families);
    font.setPixelSize(qRound(points * 96.0 / 72.0));
    return font;
}

QFont languageFont(double points, int language) {
    return skinFont(language == skin::kJapanese ? FontFace::MeiryoUi : FontFace::Arial, points, language);
}

char16_t wingdingsGlyph(char16_t labelChar) {
    for (const GlyphRow& row : kWingdingsGlyphs) {
        if (row.label == labelChar) {
            return row.glyph;
        }
    }
    return labelChar;
}

QString wingdingsText(const QString& label) {
    QString text = label;
    for (QChar& c : text) {
        c = QChar(wingdingsGlyph(c.unicode()));
    }
    return text;
}

const QImage& skinBackground() {
    static const QImage image = loadPicture(":/skin/background.png");
    return image;
}

const QImage& skinHeader() {
    static const QImage image = loadPicture(":/skin/header.png");
    return image;
}

const QImage& skinFooter() {
    static const QImage image = loadPicture(":/skin/footer.png");
    return image;
}

QRect backgroundPieceSource(const QRect& controlGeometry, PieceKind kind) {
    const PieceRow& row = pieceRowFor(kind);
    int left = controlGeometry.x();
    int right = left + controlGeometry.width();
    const int top = controlGeometry.y();
    if (row.clampRightTo950 && right > kPieceRightLimit) {
        left -= right - kPieceRightLimit;
        right = kPieceRightLimit;
    }
    return QRect(left + row.shift.x(), top + row.shift.y(), right - left, controlGeometry.height());
}

void drawBackgroundPiece(QPainter& painter, const QRect& target, const QRect& source) {
    painter.fillRect(target, skin::kBlack);
    const QImage& background = skinBackground();
    // In the picture's pixels at scale 1, whatever density it was drawn for.
    const QRect available = source & QRect(QPoint(0, 0), background.deviceIndependentSize().toSize());
    if (available.isEmpty() || source.isEmpty() || target.isEmpty()) {
        return;
    }
    const double scaleX = double(target.width()) / source.width();
    const double scaleY = double(target.height()) / source.height();
    const QRectF part(target.x() + (available.x() - source.x()) * scaleX,
                      target.y() + (available.y() - source.y()) * scaleY, available.width() * scaleX,
                      available.height() * scaleY);
    drawPicturePart(painter, part, background, available);
}

bool focusCuesShown() {
    static QPointer<FocusCueWatch> watch;
    if (watch.isNull()) {
        if (qApp == nullptr) {
            return false;
        }
        watch = new FocusCueWatch(qApp);
        qApp->installEventFilter(watch);
    }
    return watch->shown;
}

bool showsFocusFrame(const QWidget& widget) {
    return focusCuesShown() && widget.hasFocus();
}

void drawFocusFrame(QPainter& painter, const QRect& rect) {
    painter.save();
    painter.setPen(QPen(skin::kWhite, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

QString scrollBarStyleSheet() {
    return QStringLiteral(
        "QScrollBar:vertical { background: black; width: 12px; margin: 0px;"
        " border: 1px solid rgb(255, 70, 70); }"
        "QScrollBar:horizontal { background: black; height: 12px; margin: 0px;"
        " border: 1px solid rgb(255, 70, 70); }"
        "QScrollBar::handle:vertical { background: rgb(255, 70, 70); min-height: 16px; margin: 2px; }"
        "QScrollBar::handle:horizontal { background: rgb(255, 70, 70); min-width: 16px; margin: 2px; }"
        "QScrollBar::handle:hover { background: rgb(255, 100, 100); }"
        "QScrollBar::handle:pressed { background: rgb(200, 20, 20); }"
        "QScrollBar::add-line, QScrollBar::sub-line { width: 0px; height: 0px; border: none; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: none; }");
}

void PremultiplyAlpha(QImage& image) {
    if (image.isNull() || image.depth() != 32 || !image.hasAlphaChannel() ||
        image.pixelFormat().premultiplied() == QPixelFormat::Premultiplied) {
        return;
    }
    if (image.format() != QImage::Format_ARGB32) {
        image.convertTo(QImage::Format_ARGB32);
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            line[x] = qRgba(qRed(line[x]) * alpha / 255, qGreen(line[x]) * alpha / 255,
                            qBlue(line[x]) * alpha / 255, alpha);
        }
    }
    image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
}

void drawFrameRect(QPainter& painter, int left, int top, int right, int bottom) {
    // A pen of one pixel outlines a QRect one pixel beyond its right and bottom.
    painter.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

QPalette redTextPalette(QPalette palette) {
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(role, skin::kRed);
    }
    return palette;
}

} // namespace zav
