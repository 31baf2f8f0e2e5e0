#include "controls/Skin.h"

#include "tests/controls/QtTestApp.h"

#include <QFontInfo>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace zav {
namespace {

TEST(PremultiplyAlpha, scales_colour_by_alpha_and_keeps_alpha) {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(200, 100, 50, 128));
    image.setPixel(1, 0, qRgba(255, 255, 255, 0));
    PremultiplyAlpha(image);
    EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(0));
    EXPECT_EQ(pixels[0], qRgba(100, 50, 25, 128));
    EXPECT_EQ(pixels[1], qRgba(0, 0, 0, 0));
}

TEST(PremultiplyAlpha, truncates_where_rounding_would_go_up) {
    // 200 x 200 / 255 = 156.86: integer arithmetic keeps 156.
    QImage image(1, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(200, 254, 1, 200));
    PremultiplyAlpha(image);
    EXPECT_EQ(reinterpret_cast<const QRgb*>(image.constScanLine(0))[0], qRgba(156, 199, 0, 200));
}

TEST(PremultiplyAlpha, leaves_images_without_alpha_and_of_other_depths_alone) {
    QImage opaque(1, 1, QImage::Format_RGB32);
    opaque.setPixel(0, 0, qRgb(200, 100, 50));
    PremultiplyAlpha(opaque);
    EXPECT_EQ(opaque.format(), QImage::Format_RGB32);
    EXPECT_EQ(opaque.pixel(0, 0), qRgb(200, 100, 50));

    QImage rgb24(1, 1, QImage::Format_RGB888);
    rgb24.setPixel(0, 0, qRgb(200, 100, 50));
    PremultiplyAlpha(rgb24);
    EXPECT_EQ(rgb24.format(), QImage::Format_RGB888);
    EXPECT_EQ(rgb24.pixel(0, 0), qRgb(200, 100, 50));
}

TEST(Wingdings, labels_paint_as_the_glyphs_wingdings_draws) {
    EXPECT_EQ(wingdingsText(QString::fromUtf8("o")), QString::fromUtf8("□"));
    EXPECT_EQ(wingdingsText(QString::fromUtf8("áâßà")), QString::fromUtf8("↑↓←→"));
    EXPECT_EQ(wingdingsText(QString::fromUtf8("éêçè")), QString::fromUtf8("⬆⬇⬅➡"));
    EXPECT_EQ(wingdingsText(QString::fromUtf8("ëìíî")), QString::fromUtf8("⬉⬈⬋⬊"));
}

TEST(Wingdings, other_characters_pass_unchanged) {
    EXPECT_EQ(wingdingsText(QStringLiteral("L1 X")), QStringLiteral("L1 X"));
    EXPECT_EQ(wingdingsGlyph(u'O'), u'O');
}

TEST(SkinFonts, japanese_uses_meiryo_ui_and_others_arial_at_96_dpi_sizes) {
    EXPECT_EQ(languageFont(10, 3).families().front(), QStringLiteral("Meiryo UI"));
    EXPECT_EQ(languageFont(10, 0).families().front(), QStringLiteral("Arial"));
    EXPECT_EQ(languageFont(10, 5).families().front(), QStringLiteral("Arial"));
    EXPECT_EQ(languageFont(9, 0).pixelSize(), 12);
    EXPECT_EQ(languageFont(10, 0).pixelSize(), 13);
    EXPECT_EQ(languageFont(11, 0).pixelSize(), 15);
    EXPECT_EQ(skinFont(FontFace::Arial, 7, 0).pixelSize(), 9);
}

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

TEST(SkinFonts, cjk_texts_in_arial_take_the_face_of_their_language_and_latin_text_stays_arial) {
    // One after the other, as the user switches languages.
    EXPECT_EQ(facesDrawing(QString::fromUtf8("语言"), skinFont(FontFace::Arial, 10, 4)),
              QStringList{QStringLiteral("noto sans cjk sc")});
    EXPECT_EQ(facesDrawing(QString::fromUtf8("語言"), skinFont(FontFace::Arial, 10, 5)),
              QStringList{QStringLiteral("noto sans cjk tc")});
    EXPECT_EQ(facesDrawing(QString::fromUtf8("言語"), skinFont(FontFace::Arial, 10, 3)),
              QStringList{QStringLiteral("noto sans cjk jp")});
    EXPECT_EQ(facesDrawing(QString::fromUtf8("语言"), skinFont(FontFace::Arial, 10, 4)),
              QStringList{QStringLiteral("noto sans cjk sc")});
    EXPECT_EQ(facesDrawing(QStringLiteral("Language"), skinFont(FontFace::Arial, 10, 5)),
              QStringList{QStringLiteral("liberation sans")});
}

TEST(SkinFonts, wingdings_glyphs_are_drawn_by_one_face) {
    const QStringList faces =
        facesDrawing(wingdingsText(QString::fromUtf8("oáâßàéêçèëìíî")), skinFont(FontFace::Wingdings, 10, 0));
    EXPECT_EQ(faces, QStringList{QStringLiteral("dejavu sans")});
}

TEST(SkinFonts, original_font_names_resolve_to_installed_fonts) {
    EXPECT_EQ(QFontInfo(languageFont(10, 0)).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(QFontInfo(languageFont(10, 3)).family(), QStringLiteral("Noto Sans CJK JP"));
    EXPECT_EQ(QFontInfo(skinFont(FontFace::Wingdings, 10, 0)).family(), QStringLiteral("DejaVu Sans"));
}

TEST(SkinPictures, are_compiled_in_at_their_sizes) {
    EXPECT_EQ(skinBackground().size(), QSize(960, 700));
    EXPECT_EQ(skinHeader().size(), QSize(960, 58));
    EXPECT_EQ(skinFooter().size(), QSize(960, 29));
}

TEST(SkinPictures, are_dark_with_red_lines) {
    for (const QImage* picture : {&skinBackground(), &skinHeader(), &skinFooter()}) {
        qint64 sum = 0;
        bool red = false;
        for (int y = 0; y < picture->height(); ++y) {
            for (int x = 0; x < picture->width(); ++x) {
                const QRgb p = picture->pixel(x, y);
                sum += qGray(p);
                red = red || (qRed(p) > 150 && qGreen(p) < 90 && qBlue(p) < 90);
            }
        }
        EXPECT_LT(sum / (picture->width() * picture->height()), 40);
        EXPECT_TRUE(red);
    }
}

TEST(BackgroundPiece, is_taken_behind_the_control_shifted_by_its_kind) {
    const QRect control(420, 195, 120, 30);
    EXPECT_EQ(backgroundPieceSource(control, PieceKind::ClickButton), QRect(424, 240, 120, 30));
    EXPECT_EQ(backgroundPieceSource(control, PieceKind::ComboBox), QRect(424, 240, 120, 30));
    EXPECT_EQ(backgroundPieceSource(control, PieceKind::EditStatic), QRect(420, 240, 120, 30));
}

TEST(BackgroundPiece, button_past_x_950_takes_the_piece_ending_at_950_with_its_own_width) {
    // The close button of the main window, (933, 2) 25 x 25.
    EXPECT_EQ(backgroundPieceSource(QRect(933, 2, 25, 25), PieceKind::ClickButton), QRect(929, 47, 25, 25));
    EXPECT_EQ(backgroundPieceSource(QRect(925, 2, 25, 25), PieceKind::ClickButton), QRect(929, 47, 25, 25));
    EXPECT_EQ(backgroundPieceSource(QRect(933, 2, 25, 25), PieceKind::ComboBox), QRect(937, 47, 25, 25));
}

TEST(BackgroundPiece, part_outside_the_picture_stays_black) {
    QImage target(20, 20, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        drawBackgroundPiece(painter, target.rect(), QRect(950, 690, 20, 20));
    }
    EXPECT_EQ(target.pixel(2, 2), skinBackground().pixel(952, 692));
    EXPECT_EQ(target.pixel(15, 5), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(5, 15), qRgb(0, 0, 0));
}

} // namespace
} // namespace zav
