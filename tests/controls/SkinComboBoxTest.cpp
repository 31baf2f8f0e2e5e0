#include "controls/SkinComboBox.h"
#include "controls/LimitedLineEdit.h"
#include "controls/Skin.h"
#include "controls/SkinComboList.h"
#include "tests/controls/QtTestApp.h"

#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace zav {
namespace {

using test::anyPixel;
using test::sameColour;
using test::snapshot;
using test::windowClick;

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
    SkinComboBox combo{&parent};
    LimitedLineEdit* edit = nullptr;
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

TEST_F(ProfileList, a_click_on_the_arrow_opens_the_list_and_a_click_on_an_item_chooses_it) {
    QSignalSpy chosen(&combo, &SkinComboBox::chosen);
    windowClick(combo, QPoint(200, 10));
    ASSERT_TRUE(combo.list()->isVisible()) << "the list closed again on the release of its opening click";

    SkinComboList* list = combo.list();
    const QRect second = list->visualRect(list->model()->index(1, 0));
    windowClick(*list->viewport(), second.center());
    EXPECT_FALSE(list->isVisible());
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 1);
    EXPECT_EQ(edit->text(), QStringLiteral("FPS"));
}

TEST_F(ProfileList, a_click_in_the_text_places_the_caret_and_opens_nothing) {
    combo.setEditText(QStringLiteral("Default"));
    edit->setCursorPosition(0);
    windowClick(*edit, QPoint(edit->width() - 4, 8));
    EXPECT_FALSE(combo.view()->isVisible());
    EXPECT_EQ(edit->cursorPosition(), 7);
}

TEST_F(ProfileList, typing_a_listed_name_and_leaving_the_field_chooses_nothing) {
    QSignalSpy chosen(&combo, &SkinComboBox::chosen);
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("fps"));
    QTest::keyClick(edit, Qt::Key_Return);
    edit->clearFocus();
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_EQ(edit->text(), QStringLiteral("fps"));
    EXPECT_EQ(combo.count(), 2) << "Return must not add the typed text as an item";
    EXPECT_EQ(edit->completer(), nullptr);
}

// A list whose edit part only shows the choice, as the mode and profile-slot lists.
class ChoiceList : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(400, 300);
        combo.setEditable(true);
        combo.edit()->setReadOnly(true);
        combo.setGeometry(10, 5, 140, 84);
        combo.addItems(
            {QStringLiteral("Playstation4"), QStringLiteral("Playstation3"), QStringLiteral("PC-Pad")});
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }

    QWidget parent;
    SkinComboBox combo{&parent};
};

TEST_F(ChoiceList, a_click_anywhere_on_the_box_opens_it_and_keys_choose_only_on_enter) {
    QSignalSpy activated(&combo, &QComboBox::activated);
    for (const QPoint at : {QPoint(20, 10), QPoint(130, 10)}) {
        windowClick(combo, at);
        ASSERT_TRUE(combo.view()->isVisible()) << "click at " << at.x();
        QTest::keyClick(combo.view(), Qt::Key_Escape);
        EXPECT_FALSE(combo.view()->isVisible());
    }
    EXPECT_TRUE(parent.isVisible()) << "Escape closes the list, not the window";

    windowClick(combo, QPoint(20, 10));
    QTest::keyClick(combo.view(), Qt::Key_Down);
    QTest::keyClick(combo.view(), Qt::Key_Down);
    EXPECT_EQ(activated.count(), 0) << "moving the highlight chooses nothing";
    QTest::keyClick(combo.view(), Qt::Key_Return);
    EXPECT_FALSE(combo.view()->isVisible());
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(combo.currentIndex(), 2);
}

TEST_F(ProfileList, list_draws_the_selected_item_white_on_red_and_the_others_red_on_black) {
    combo.setCurrentIndex(0);
    combo.showPopup();
    ASSERT_TRUE(combo.list()->isVisible());
    SkinComboList* list = combo.list();
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
    SkinComboBox combo(&parent);
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
    SkinComboBox combo(&parent);
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
    SkinComboBox combo(&parent);
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
