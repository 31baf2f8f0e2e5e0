#include "controls/CellSlider.h"
#include "controls/Skin.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "tests/controls/QtTestApp.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace zav {
namespace {

using test::anyPixel;
using test::snapshot;

// A window with the skinned controls that take the focus, in Tab order: two buttons, a list, a slider.
class Keyboard : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(500, 200);
        first = new SkinButton(QStringLiteral("First"), &window);
        first->setGeometry(10, 10, 100, 30);
        second = new SkinButton(QStringLiteral("Second"), &window);
        second->setGeometry(120, 10, 100, 30);
        list = new SkinComboBox(&window);
        list->setGeometry(230, 10, 150, 20);
        list->addItems({QStringLiteral("One"), QStringLiteral("Two")});
        slider = new CellSlider(&window);
        slider->move(10, 60);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        first->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(first->hasFocus());
    }
    void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }
    // The dotted frame runs along the top just inside the control's own frame.
    static bool framed(QWidget& w, int inset) {
        return anyPixel(snapshot(w), QRect(inset, inset, w.width() - 2 * inset, 1), skin::kWhite);
    }

    QWidget window;
    SkinButton* first = nullptr;
    SkinButton* second = nullptr;
    SkinComboBox* list = nullptr;
    CellSlider* slider = nullptr;
};

TEST_F(Keyboard, the_focus_frame_shows_after_a_key_and_goes_with_a_mouse_press) {
    // Focus given by the program alone draws nothing new: the mouse user's look stays.
    EXPECT_FALSE(framed(*first, 3));
    key(Qt::Key_Tab);
    ASSERT_TRUE(second->hasFocus());
    EXPECT_TRUE(framed(*second, 3));
    EXPECT_FALSE(framed(*first, 3));
    key(Qt::Key_Tab);
    ASSERT_TRUE(list->hasFocus());
    EXPECT_TRUE(framed(*list, 0));
    key(Qt::Key_Tab);
    ASSERT_TRUE(slider->hasFocus());
    EXPECT_TRUE(framed(*slider, 1));
    EXPECT_FALSE(framed(*list, 0));
    // A click anywhere (here on the slider's background) hides the frame again.
    test::windowClick(*slider, QPoint(2, 86));
    EXPECT_FALSE(framed(*slider, 1));
}

TEST_F(Keyboard, space_and_enter_press_the_focused_button) {
    QSignalSpy firstClicks(first, &QPushButton::clicked);
    QSignalSpy secondClicks(second, &QPushButton::clicked);
    key(Qt::Key_Space);
    EXPECT_EQ(firstClicks.count(), 1);
    key(Qt::Key_Tab);
    key(Qt::Key_Return);
    key(Qt::Key_Enter);
    EXPECT_EQ(secondClicks.count(), 2);
    EXPECT_EQ(firstClicks.count(), 1);
}

TEST_F(Keyboard, arrows_move_the_slider_a_cell_and_page_keys_a_large_cell) {
    second->setFocus();
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    ASSERT_TRUE(slider->hasFocus());
    struct Step {
        Qt::Key key;
        int expected;
    };
    // Coarse: every step is a large cell.
    slider->setPosition(14);
    for (const Step step :
         {Step{Qt::Key_Right, 21}, Step{Qt::Key_Up, 28}, Step{Qt::Key_Left, 21}, Step{Qt::Key_PageDown, 14},
          Step{Qt::Key_End, 49}, Step{Qt::Key_Right, 49}, Step{Qt::Key_Home, 0}, Step{Qt::Key_Down, 0}}) {
        key(step.key);
        EXPECT_EQ(slider->position(), step.expected) << "coarse, key " << step.key;
    }
    // Fine: arrows move one cell, Page Up and Page Down seven.
    slider->setFineMode(true);
    slider->setPosition(14);
    for (const Step step : {Step{Qt::Key_Right, 15}, Step{Qt::Key_PageUp, 22}, Step{Qt::Key_Left, 21},
                            Step{Qt::Key_PageDown, 14}, Step{Qt::Key_PageDown, 7}, Step{Qt::Key_Down, 6}}) {
        key(step.key);
        EXPECT_EQ(slider->position(), step.expected) << "fine, key " << step.key;
    }
    // A position between large cells, or none at all, goes to the next large cell in the key's direction.
    slider->setFineMode(false);
    slider->setPosition(10);
    key(Qt::Key_Right);
    EXPECT_EQ(slider->position(), 14);
    slider->setPosition(10);
    key(Qt::Key_Left);
    EXPECT_EQ(slider->position(), 7);
    slider->setPosition(-7);
    key(Qt::Key_Right);
    EXPECT_EQ(slider->position(), 0);
    // The drawing follows: the selected large cell is light red.
    EXPECT_TRUE(anyPixel(snapshot(*slider), CellSlider::cellRect(0).adjusted(2, 2, -2, -2), skin::kLightRed));
}

} // namespace
} // namespace zav
