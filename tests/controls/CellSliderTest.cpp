#include "controls/CellSlider.h"

#include "controls/Skin.h"
#include "tests/controls/QtTestApp.h"

#include <QCursor>
#include <QTest>
#include <gtest/gtest.h>

namespace zav {
namespace {

using test::sameColour;
using test::snapshot;

QPoint centre(int cell) {
    return CellSlider::cellRect(cell).center();
}

class PointSlider : public ::testing::Test {
protected:
    void SetUp() override {
        // A cursor left where a step wants to hover would produce no move at all.
        QCursor::setPos(QPoint(4000, 4000));
        slider.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    }

    void hover(QPoint point) { QTest::mouseMove(&slider, point); }
    void press(QPoint point) { QTest::mousePress(&slider, Qt::LeftButton, {}, point); }
    void moveHeld(QPoint point) { QTest::mouseMove(&slider, point); }
    void release(QPoint point) { QTest::mouseRelease(&slider, Qt::LeftButton, {}, point); }
    // Press and release where the pointer already is, as a user's click.
    void clickAt(QPoint point) {
        hover(point);
        press(point);
        release(point);
    }
    QRgb cellColour(int cell) { return snapshot(slider).pixel(centre(cell)); }

    CellSlider slider;
};

TEST(PointSliderCells, large_and_small_cells_stand_where_the_comb_has_them) {
    EXPECT_EQ(CellSlider::cellRect(0), QRect(10, 15, 10, 60));
    EXPECT_EQ(CellSlider::cellRect(1), QRect(23, 35, 4, 20));
    EXPECT_EQ(CellSlider::cellRect(6), QRect(58, 35, 4, 20));
    EXPECT_EQ(CellSlider::cellRect(7), QRect(65, 15, 10, 60));
    EXPECT_EQ(CellSlider::cellRect(48), QRect(388, 35, 4, 20));
    EXPECT_EQ(CellSlider::cellRect(49), QRect(395, 15, 10, 60));
    EXPECT_TRUE(CellSlider::cellRect(50).isEmpty());
    EXPECT_TRUE(CellSlider::cellRect(-1).isEmpty());
    EXPECT_EQ(CellSlider().size(), QSize(430, 90));
}

TEST_F(PointSlider, coarse_slider_draws_the_selected_large_cell_light_red_and_no_small_cells) {
    slider.setPosition(14);
    const QImage image = snapshot(slider);
    for (int cell = 0; cell < CellSlider::kCellCount; cell += CellSlider::kCellsPerStep) {
        EXPECT_TRUE(sameColour(image.pixel(centre(cell)), cell == 14 ? skin::kLightRed : skin::kBlack))
            << cell;
    }
    EXPECT_TRUE(sameColour(image.pixel(120, 30), skin::kRed)); // left edge of the third tooth
    EXPECT_TRUE(sameColour(image.pixel(40, 40), skin::kRed));  // the bar between two teeth
    EXPECT_TRUE(sameColour(image.pixel(40, 50), skin::kRed));
    EXPECT_TRUE(sameColour(image.pixel(23, 35), skin::kBlack)); // no notch
}

TEST_F(PointSlider, fine_slider_draws_the_notches_and_fills_small_cells) {
    slider.setFineMode(true);
    slider.setPosition(3);
    const QImage image = snapshot(slider);
    EXPECT_TRUE(sameColour(image.pixel(23, 35), skin::kRed));
    EXPECT_TRUE(sameColour(image.pixel(centre(3)), skin::kLightRed));
    EXPECT_TRUE(sameColour(image.pixel(centre(4)), skin::kBlack));
}

TEST_F(PointSlider, cell_under_the_pointer_turns_dark_red_until_the_pointer_leaves_it) {
    hover(centre(7));
    EXPECT_EQ(slider.hoverIndex(), 7);
    EXPECT_TRUE(sameColour(cellColour(7), skin::kDarkRed));

    hover(QPoint(40, 25)); // between the teeth
    EXPECT_EQ(slider.hoverIndex(), 7);
    EXPECT_TRUE(sameColour(cellColour(7), skin::kBlack));
}

TEST_F(PointSlider, only_the_cell_under_the_pointer_is_dark_red) {
    hover(centre(21));
    hover(centre(7));
    EXPECT_TRUE(sameColour(cellColour(7), skin::kDarkRed));
    EXPECT_TRUE(sameColour(cellColour(21), skin::kBlack));
}

TEST_F(PointSlider, hovering_the_selected_cell_shows_it_dark_red_and_leaving_shows_it_selected) {
    slider.setPosition(7);
    hover(centre(7));
    EXPECT_TRUE(sameColour(cellColour(7), skin::kDarkRed));
    hover(QPoint(200, 85));
    EXPECT_TRUE(sameColour(cellColour(7), skin::kLightRed));
}

TEST_F(PointSlider, press_on_an_unselected_cell_starts_no_drag_and_the_release_selects_it) {
    hover(centre(21));
    press(centre(21));
    EXPECT_FALSE(slider.isDragging());
    release(centre(21));
    EXPECT_EQ(slider.position(), 21);
    EXPECT_TRUE(sameColour(cellColour(21), skin::kLightRed));
    EXPECT_TRUE(sameColour(cellColour(0), skin::kBlack));
}

TEST_F(PointSlider, coarse_click_off_the_large_cells_changes_nothing) {
    hover(centre(7));
    clickAt(QPoint(45, 45)); // on the bar, where small cell 4 would be
    EXPECT_EQ(slider.position(), 0);
    slider.setPosition(14);
    clickAt(centre(16)); // a small cell is no cell in the coarse mode
    EXPECT_EQ(slider.position(), 14);
}

TEST_F(PointSlider, fine_click_between_cells_selects_the_cell_last_passed_over) {
    slider.setFineMode(true);
    hover(centre(3));
    clickAt(QPoint(42, 45)); // between small cells 3 and 4
    EXPECT_EQ(slider.position(), 3);
    clickAt(centre(45));
    EXPECT_EQ(slider.position(), 45);
}

TEST_F(PointSlider, dragging_the_selected_cell_moves_the_selection_along) {
    slider.setPosition(14);
    hover(centre(14));
    press(centre(14));
    EXPECT_TRUE(slider.isDragging());
    moveHeld(centre(21));
    EXPECT_EQ(slider.position(), 21);
    EXPECT_EQ(slider.hoverIndex(), 21);
    moveHeld(QPoint(50, 45)); // between the teeth: the last cell stays
    EXPECT_EQ(slider.position(), 21);
    release(QPoint(50, 45));
    EXPECT_FALSE(slider.isDragging());
    EXPECT_EQ(slider.position(), 21);
}

TEST_F(PointSlider, dragging_out_to_the_left_selects_cell_0) {
    slider.setPosition(28);
    hover(centre(28));
    press(centre(28));
    moveHeld(QPoint(-30, 45));
    EXPECT_EQ(slider.position(), 0);
    release(QPoint(-30, 45));
    EXPECT_EQ(slider.position(), 0);
}

TEST_F(PointSlider, dragging_out_to_the_right_keeps_the_last_cell_reached) {
    slider.setPosition(14);
    hover(centre(14));
    press(centre(14));
    moveHeld(QPoint(600, 45)); // held at x 405, just right of the last cell
    EXPECT_EQ(slider.position(), 14);
    moveHeld(centre(49));
    moveHeld(QPoint(600, 45));
    EXPECT_EQ(slider.position(), 49);
    release(QPoint(600, 45));
}

TEST_F(PointSlider, dragging_above_or_below_is_held_at_the_bar) {
    slider.setPosition(14);
    hover(centre(14));
    press(centre(14));
    moveHeld(QPoint(centre(28).x(), 300)); // held at y 55: inside the large cells
    EXPECT_EQ(slider.position(), 28);
    release(QPoint(centre(28).x(), 300));

    slider.setFineMode(true);
    slider.setPosition(3);
    hover(centre(3));
    press(centre(3));
    moveHeld(QPoint(centre(5).x(), 300)); // y 55 is below the small cells
    EXPECT_EQ(slider.position(), 3);
    moveHeld(QPoint(centre(5).x(), -20)); // y 35 is their top row
    EXPECT_EQ(slider.position(), 5);
    release(QPoint(centre(5).x(), -20));
}

TEST_F(PointSlider, position_outside_the_cells_shows_none_selected_and_starts_no_drag) {
    slider.setPosition(-7);
    const QImage image = snapshot(slider);
    for (int cell = 0; cell < CellSlider::kCellCount; cell += CellSlider::kCellsPerStep) {
        EXPECT_TRUE(sameColour(image.pixel(centre(cell)), skin::kBlack)) << cell;
    }
    hover(centre(0));
    press(centre(0));
    EXPECT_FALSE(slider.isDragging());
    release(centre(0));
}

} // namespace
} // namespace zav
