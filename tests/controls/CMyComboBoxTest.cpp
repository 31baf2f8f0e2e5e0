#include "controls/CMyComboBox.h"
#include "controls/CComboBoxList.h"
#include "controls/CMyEdit.h"
#include "controls/Skin.h"
#include "tests/controls/QtTestApp.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

namespace zav {
namespace {

using test::anyPixel;
using test::sameColour;
using test::snapshot;

const QString kTwentyFive = QStringLiteral("abcdefghijklmnopqrstuvwxy");

// The profile list of a page: an editable combo box at (420, 160), 207 x 190 with its list.
class ProfileList : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(960, 700);
        combo.setEditable(true);
        combo.setGeometry(420, 160, 207, 190);
        combo.addItems({QStringLiteral("Default"), QStringLiteral("FPS")});
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
        edit = combo.edit();
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
    }

    QWidget parent;
    CMyComboBox combo{&parent};
    CMyEdit* edit = nullptr;
};

TEST_F(ProfileList, field_is_20_pixels_high_as_the_owner_height_counts_the_list) {
    EXPECT_EQ(combo.geometry(), QRect(420, 160, 207, 20));
    EXPECT_EQ(edit->geometry(), QRect(2, 2, 188, 16));
}

TEST_F(ProfileList, typing_stops_at_20_characters) {
    edit->clear();
    QTest::keyClicks(edit, kTwentyFive);
    EXPECT_EQ(edit->text(), kTwentyFive.left(20));
    EXPECT_EQ(combo.currentText(), kTwentyFive.left(20));
}

TEST_F(ProfileList, typing_over_a_selection_replaces_it_within_the_limit) {
    edit->setText(kTwentyFive.left(20));
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("xyz"));
    EXPECT_EQ(edit->text(), QStringLiteral("xyz"));
}

TEST_F(ProfileList, pasting_adds_only_what_fits) {
    edit->setText(QStringLiteral("FPS "));
    edit->end(false);
    QGuiApplication::clipboard()->setText(kTwentyFive);
    QTest::keySequence(edit, QKeySequence::Paste);
    EXPECT_EQ(edit->text(), QStringLiteral("FPS ") + kTwentyFive.left(16));
}

TEST_F(ProfileList, a_longer_name_set_by_the_program_is_shown_whole_and_only_shortened) {
    combo.setEditText(kTwentyFive);
    EXPECT_EQ(edit->text(), kTwentyFive);
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), kTwentyFive.left(24));
    QTest::keyClick(edit, Qt::Key_Z);
    EXPECT_EQ(edit->text(), kTwentyFive.left(24));
}

TEST_F(ProfileList, choosing_an_item_shows_it_in_the_edit_part) {
    combo.setCurrentIndex(1);
    EXPECT_EQ(edit->text(), QStringLiteral("FPS"));
}

TEST_F(ProfileList, press_beside_the_edit_part_opens_the_skinned_list) {
    ASSERT_NE(combo.list(), nullptr);
    EXPECT_EQ(combo.view(), combo.list());
    QTest::mouseClick(&combo, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_TRUE(combo.list()->isVisible());
    combo.hidePopup();
}

TEST_F(ProfileList, list_draws_the_selected_item_white_on_red_and_the_others_red_on_black) {
    combo.setCurrentIndex(0);
    combo.showPopup();
    ASSERT_TRUE(combo.list()->isVisible());
    CComboBoxList* list = combo.list();
    const QRect first = list->visualRect(list->model()->index(0, 0));
    const QRect second = list->visualRect(list->model()->index(1, 0));
    const QImage image = list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(sameColour(image.pixel(first.right() - 2, first.center().y()), skin::kRed));
    EXPECT_TRUE(anyPixel(image, first.adjusted(1, 0, -40, 0), skin::kWhite, 40));
    EXPECT_TRUE(sameColour(image.pixel(second.right() - 2, second.center().y()), skin::kBlack));
    EXPECT_TRUE(anyPixel(image, second.adjusted(1, 0, -40, 0), skin::kRed, 40));
    combo.hidePopup();
}

TEST(ComboBoxEdit, narrow_box_leaves_its_arrow_uncovered) {
    QWidget parent;
    CMyComboBox combo(&parent);
    combo.setEditable(true);
    combo.setGeometry(755, 3, 150, 25);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    EXPECT_EQ(combo.height(), 20);
    ASSERT_NE(combo.edit(), nullptr);
    EXPECT_EQ(combo.edit()->geometry(), QRect(2, 2, 131, 16));
}

TEST(ComboBoxEdit, edit_part_made_through_the_base_class_is_replaced_on_first_use) {
    QWidget parent;
    CMyComboBox combo(&parent);
    static_cast<QComboBox&>(combo).setEditable(true);
    combo.setEditText(QStringLiteral("Default"));
    EXPECT_EQ(combo.edit(), nullptr);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    ASSERT_NE(combo.edit(), nullptr);
    EXPECT_EQ(combo.edit()->text(), QStringLiteral("Default"));
}

TEST(ComboBoxText, is_drawn_only_when_the_owner_unhides_it) {
    QWidget parent;
    parent.resize(600, 400);
    CMyComboBox combo(&parent);
    combo.setGeometry(15, 40, 150, 30);
    combo.addItems({QStringLiteral("Normal"), QStringLiteral("ADS")});
    const QRect textArea(5, 3, 80, 14);
    const QRect arrowArea(130, 3, 16, 14);

    EXPECT_TRUE(combo.textHidden());
    QImage image = snapshot(combo);
    EXPECT_FALSE(anyPixel(image, textArea, skin::kRed, 60));
    EXPECT_TRUE(anyPixel(image, arrowArea, skin::kRed, 60));

    combo.setTextHidden(false);
    image = snapshot(combo);
    EXPECT_TRUE(anyPixel(image, textArea, skin::kRed, 60));
}

} // namespace
} // namespace zav
