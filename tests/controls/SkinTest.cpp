#include "controls/Skin.h"

#include "tests/controls/QtTestApp.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <tuple>

namespace zav {
namespace {

TEST(SkinFonts, every_language_draws_its_texts_in_one_face_of_its_own) {
    // One after the other, as the user switches languages; the labels' arrows and boxes in one face too.
    using enum FontFace;
    const std::tuple<const char*, FontFace, int, const char*> rows[] = {
        {"语言", Arial, 4, "noto sans cjk sc"},    {"語言", Arial, 5, "noto sans cjk tc"},
        {"言語", Arial, 3, "noto sans cjk jp"},    {"语言", Arial, 4, "noto sans cjk sc"},
        {"Language", Arial, 5, "liberation sans"}, {"oáâßàéêçèëìíî", Wingdings, 0, "dejavu sans"}};
    for (const auto& [text, face, language, drawnBy] : rows) {
        SCOPED_TRACE(text);
        QString shown = QString::fromUtf8(text);
        if (face == FontFace::Wingdings) {
            shown = wingdingsText(shown);
            EXPECT_FALSE(shown.contains(QLatin1Char('o')));
        }
        // The faces the layout chooses glyph by glyph.
        QTextLayout layout(shown, skinFont(face, 10, language));
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        QStringList faces;
        for (const QGlyphRun& run : layout.glyphRuns()) {
            faces << run.rawFont().familyName().toLower();
        }
        EXPECT_EQ(faces, QStringList{QString::fromUtf8(drawnBy)});
    }
}

} // namespace
} // namespace zav
