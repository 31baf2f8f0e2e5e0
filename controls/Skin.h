#pragma once

// The one look of the program: colours, fonts, the skin pictures and the pieces of the background
// that owner-drawn controls copy behind themselves.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

namespace zav {

namespace skin {

inline constexpr QColor kRed{255, 70, 70};
inline constexpr QColor kLightRed{255, 100, 100};  // selected slider cell
inline constexpr QColor kDarkRed{200, 20, 20};     // slider cell under the pointer
inline constexpr QColor kHoverFill{100, 20, 20};   // push button under the pointer
inline constexpr QColor kPressedFill{255, 51, 50}; // push button held down
inline constexpr QColor kBlack{0, 0, 0};
inline constexpr QColor kWhite{255, 255, 255};
inline constexpr QColor kLinkBlue{47, 95, 219};   // the update link of the message box
inline constexpr QColor kFrameBrown{136, 45, 45}; // the main window's inner frame

inline constexpr int kJapanese = 3;
inline constexpr int kSimplifiedChinese = 4;
inline constexpr int kTraditionalChinese = 5;

// The background picture is 960 x 700; the main window shows its top 960 x 691.
inline constexpr int kBackgroundWidth = 960;
inline constexpr int kBackgroundHeight = 700;
inline constexpr int kHeaderHeight = 58;
inline constexpr int kFooterHeight = 29;

} // namespace skin

// Language whose fonts the controls use unless one is given to them (the main window sets it).
void setSkinLanguage(int language);
int skinLanguage();

enum class FontFace { Arial, MeiryoUi, Wingdings };

// Maps "Arial", "Meiryo UI" and "Wingdings" to the fonts this system has; called by the font helpers.
void installFontSubstitutions();

// A font of the given face and size in typographic points at 96 dots per inch, as the program's
// layout assumes; CJK fallbacks follow the language.
QFont skinFont(FontFace face, double points, int language);

// "Meiryo UI" for Japanese, "Arial" otherwise.
QFont languageFont(double points, int language);

// Labels keep their Wingdings characters; painting shows the glyph that Wingdings draws for them.
char16_t wingdingsGlyph(char16_t labelChar);
QString wingdingsText(const QString& label);

// Whether the screens have two or more device pixels per pixel, so that the pictures drawn for twice
// the density (name@2x.png) are shown. Worked out on the window's thread; other threads get what it
// found last.
bool denseScreens();

// Draws `source` of a picture, given in its pixels at scale 1, into `target`: a picture of twice the
// density gives the same part.
void drawPicturePart(QPainter& painter, const QRectF& target, const QImage& image, const QRect& source);

// The pictures compiled into the program; a null image where one is missing.
const QImage& skinBackground();
const QImage& skinHeader();
const QImage& skinFooter();

enum class PieceKind { ClickButton, ComboBox, EditStatic };

// The rectangle of the background picture behind a control whose geometry in its parent is given.
QRect backgroundPieceSource(const QRect& controlGeometry, PieceKind kind);

// Stretches that rectangle of the background picture into target; what the picture lacks stays black.
void drawBackgroundPiece(QPainter& painter, const QRect& target, const QRect& source);

// A frame in the painter's pen from (left, top) to (right, bottom), the right and bottom edges left
// out as the window system's rectangles leave them.
void drawFrameRect(QPainter& painter, int left, int top, int right, int bottom);

// Focus frames show once the keyboard is used and hide again at the next mouse press, so the
// controls keep their plain look for the mouse. The first call starts watching the input.
bool focusCuesShown();
// Whether `widget` draws its focus frame now: it has the focus and the cues are shown.
bool showsFocusFrame(const QWidget& widget);
// The focus frame: a dotted white line just inside `rect`.
void drawFocusFrame(QPainter& painter, const QRect& rect);

// Red text on whatever lies behind: a palette rather than a style sheet, which would cost each of
// the many labels a style of its own.
QPalette redTextPalette(QPalette palette);

// Skin colours for scroll bars, as a style sheet for the widgets that show them.
QString scrollBarStyleSheet();

// Premultiplies colour by alpha with truncating integer arithmetic; only 32-bit images with a
// non-premultiplied alpha channel change, and they are then marked premultiplied.
void PremultiplyAlpha(QImage& image);

} // namespace zav
