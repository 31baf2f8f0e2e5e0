#include "controls/CellSlider.h"
#include "controls/SkinButton.h"
#include "tests/controls/QtTestApp.h"

#include <QApplication>
#include <QCursor>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace zav {
namespace {

QPoint centre(int cell) {
    return CellSlider::cellRect(cell).center();
}

// The pointer starts far away: a pointer left where a step wants to hover produces no move at all.
class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        QCursor::setPos(QPoint(4000, 4000));
        window.resize(500, 200);
        button.setGeometry(10, 10, 100, 30);
        slider.move(10, 60);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void click(QPoint at) {
        QTest::mouseMove(&slider, at);
        QTest::mouseClick(&slider, Qt::LeftButton, {}, at);
    }
    // A drag from cell `from` along `path`, let go at its last point.
    void drag(int from, const std::vector<QPoint>& path) {
        slider.setPosition(from);
        QTest::mouseMove(&slider, centre(from));
        QTest::mousePress(&slider, Qt::LeftButton, {}, centre(from));
        EXPECT_TRUE(slider.isDragging());
        for (const QPoint at : path) {
            QTest::mouseMove(&slider, at);
        }
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, path.back());
        EXPECT_FALSE(slider.isDragging());
    }

    QWidget window;
    SkinButton button{QStringLiteral("New"), &window};
    CellSlider slider{&window};
};

TEST_F(Controls, button_and_slider_clicks_land_where_released_and_only_the_selected_cell_looks_so) {
    QSignalSpy clicked(&button, &QPushButton::clicked);
    const QImage normal = test::snapshot(button);
    QTest::mouseMove(&button, QPoint(10, 10));
    EXPECT_TRUE(button.isHovered());
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(test::snapshot(button) != normal) << "a held button looks held";
    EXPECT_EQ(clicked.count(), 0);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(&button, QPoint(200, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_FALSE(button.isHovered());

    click(centre(21));
    EXPECT_EQ(slider.position(), 21);
    QTest::mouseMove(&slider, QPoint(200, 85)); // away, so that no cell shows the pointer
    const QImage image = test::snapshot(slider);
    for (int cell = 0; cell < CellSlider::kCellCount; cell += CellSlider::kCellsPerStep) {
        EXPECT_EQ(image.pixel(centre(cell)) == image.pixel(centre(21)), cell == 21) << cell;
    }
    click(QPoint(45, 45)); // on the bar between two large cells
    click(centre(16));     // a small cell is no cell in the coarse mode
    EXPECT_EQ(slider.position(), 21);
    slider.setFineMode(true);
    click(centre(15));
    EXPECT_EQ(slider.position(), 15);
    QTest::mouseMove(&slider, centre(17));
    click(QPoint(centre(17).x() + 3, 45)); // between small cells: the cell last passed over
    EXPECT_EQ(slider.position(), 17);
}

TEST_F(Controls, drags_are_held_at_the_ends_of_the_bar_and_arrows_or_page_keys_step_a_cell) {
    using Path = std::vector<QPoint>;
    for (const auto& [from, path, to] : std::initializer_list<std::tuple<int, Path, int>>{
             {14, {centre(21), QPoint(50, 45)}, 21}, // between the teeth the last cell stays
             {28, {QPoint(-30, 45)}, 0},
             {14, {QPoint(600, 45)}, 14},
             {14, {centre(49), QPoint(600, 45)}, 49},
             {14, {QPoint(centre(28).x(), 300)}, 28}}) { // held at the bar
        drag(from, path);
        EXPECT_EQ(slider.position(), to) << "from " << from;
    }
    slider.setPosition(-7); // no cell selected: a press starts no drag
    QTest::mousePress(&slider, Qt::LeftButton, {}, centre(0));
    EXPECT_FALSE(slider.isDragging());
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, centre(0));

    slider.setFocus(Qt::TabFocusReason);
    const std::tuple<bool, int, Qt::Key, int> steps[] = {
        {false, 14, Qt::Key_Right, 21}, {false, 21, Qt::Key_PageDown, 14}, {false, 14, Qt::Key_End, 49},
        {false, 49, Qt::Key_Right, 49}, {false, 0, Qt::Key_Down, 0},       {false, 10, Qt::Key_Left, 7},
        {false, -7, Qt::Key_Right, 0},  {true, 15, Qt::Key_PageUp, 22},    {true, 7, Qt::Key_Down, 6}};
    for (const auto& [fine, from, key, to] : steps) {
        slider.setFineMode(fine);
        slider.setPosition(from);
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(slider.position(), to) << fine << " from " << from << " key " << key;
    }
}

} // namespace
} // namespace zav
