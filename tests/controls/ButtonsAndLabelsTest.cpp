#include "controls/FramedLabel.h"
#include "controls/Skin.h"
#include "controls/SkinButton.h"
#include "tests/controls/QtTestApp.h"

#include <QCursor>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace zav {
namespace {

using test::anyPixel;
using test::sameColour;
using test::snapshot;

// A button where the pages have their "New" button, on a parent as large as the window picture.
class ClickButton : public ::testing::Test {
protected:
    void SetUp() override {
        QCursor::setPos(QPoint(4000, 4000));
        parent.resize(960, 700);
        button.setGeometry(420, 195, 120, 30);
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }

    QRgb pixel(QPoint at) { return snapshot(button).pixel(at); }

    QWidget parent;
    SkinButton button{QStringLiteral("New"), &parent};
};

TEST_F(ClickButton, normal_look_frames_the_picture_behind_the_button_in_red) {
    const QImage image = snapshot(button);
    EXPECT_TRUE(sameColour(image.pixel(0, 0), skin::kRed));
    EXPECT_TRUE(sameColour(image.pixel(1, 15), skin::kRed));
    EXPECT_TRUE(sameColour(image.pixel(118, 28), skin::kRed));
    // Inside: the background picture at (424, 240) and onwards, not black.
    EXPECT_TRUE(sameColour(image.pixel(4, 4), QColor(skinBackground().pixel(426, 242)), 3));
    EXPECT_FALSE(sameColour(image.pixel(4, 4), skin::kBlack));
    EXPECT_TRUE(anyPixel(image, QRect(30, 5, 60, 20), skin::kRed, 40)); // the caption
}

TEST_F(ClickButton, pointer_over_the_button_fills_it_dark_and_leaving_restores_it) {
    QTest::mouseMove(&button, QPoint(10, 10));
    EXPECT_TRUE(button.isHovered());
    EXPECT_TRUE(sameColour(pixel(QPoint(4, 4)), skin::kHoverFill));
    EXPECT_TRUE(sameColour(pixel(QPoint(0, 0)), skin::kRed));

    QTest::mouseMove(&parent, QPoint(100, 100));
    EXPECT_FALSE(button.isHovered());
    EXPECT_FALSE(sameColour(pixel(QPoint(4, 4)), skin::kHoverFill));
}

TEST_F(ClickButton, the_top_left_edge_does_not_count_as_over_the_button) {
    QTest::mouseMove(&button, QPoint(0, 10));
    EXPECT_FALSE(button.isHovered());
    QTest::mouseMove(&button, QPoint(1, 1));
    EXPECT_TRUE(button.isHovered());
}

TEST_F(ClickButton, held_button_is_filled_red_with_white_caption_and_clicks_on_release) {
    QSignalSpy clicked(&button, &QPushButton::clicked);
    QTest::mouseMove(&button, QPoint(10, 10));
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    const QImage held = snapshot(button);
    EXPECT_TRUE(sameColour(held.pixel(4, 4), skin::kPressedFill));
    EXPECT_TRUE(anyPixel(held, QRect(30, 5, 60, 20), skin::kWhite, 40));
    EXPECT_EQ(clicked.count(), 0);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(ClickButton, moving_off_while_held_shows_the_normal_look_and_releasing_there_does_not_click) {
    QSignalSpy clicked(&button, &QPushButton::clicked);
    QTest::mouseMove(&button, QPoint(10, 10));
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(&button, QPoint(200, 10));
    EXPECT_FALSE(sameColour(pixel(QPoint(4, 4)), skin::kPressedFill));
    EXPECT_FALSE(sameColour(pixel(QPoint(4, 4)), skin::kHoverFill));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(clicked.count(), 0);
}

TEST(EditStatic, draws_a_thin_red_frame_around_the_picture_and_centres_its_text_in_red) {
    QWidget parent;
    parent.resize(960, 700);
    FramedLabel label(QStringLiteral("Tab"), &parent);
    label.setGeometry(435, 455, 150, 30);
    const QImage image = snapshot(label);
    EXPECT_TRUE(sameColour(image.pixel(0, 0), skin::kRed));
    EXPECT_TRUE(sameColour(image.pixel(149, 29), skin::kRed));
    // The piece is taken at (435, 500): no shift to the right, 45 down.
    EXPECT_TRUE(sameColour(image.pixel(3, 3), QColor(skinBackground().pixel(437, 502)), 3));
    EXPECT_FALSE(anyPixel(image, QRect(2, 2, 40, 26), skin::kRed, 40));
    EXPECT_TRUE(anyPixel(image, QRect(55, 5, 40, 20), skin::kRed, 40));
}

} // namespace
} // namespace zav
