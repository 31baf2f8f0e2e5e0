#include "controls/Skin.h"

#include "tests/controls/QtTestApp.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace zav {
namespace {

// The faces that actually draw the text, as the layout chooses them glyph by glyph.
QStringList facesDrawing(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        faces << run.rawFont().familyName().toLower();
    }
    return faces;
}

TEST(SkinFonts, every_language_draws_its_texts_in_one_face_of_its_own) {
    struct Case {
        const char* text;
        FontFace face;
        int language;
        const char* drawnBy;
    };
    // One after the other, as the user switches languages; the labels' arrows and boxes in one face too.
    for (const Case c : {Case{"语言", FontFace::Arial, 4, "noto sans cjk sc"},
                         Case{"語言", FontFace::Arial, 5, "noto sans cjk tc"},
                         Case{"言語", FontFace::Arial, 3, "noto sans cjk jp"},
                         Case{"语言", FontFace::Arial, 4, "noto sans cjk sc"},
                         Case{"Language", FontFace::Arial, 5, "liberation sans"},
                         Case{"oáâßàéêçèëìíî", FontFace::Wingdings, 0, "dejavu sans"}}) {
        QString text = QString::fromUtf8(c.text);
        if (c.face == FontFace::Wingdings) {
            text = wingdingsText(text);
            EXPECT_FALSE(text.contains(QLatin1Char('o')));
        }
        EXPECT_EQ(facesDrawing(text, skinFont(c.face, 10, c.language)),
                  QStringList{QString::fromUtf8(c.drawnBy)})
            << c.text;
    }
}

} // namespace
} // namespace zav
