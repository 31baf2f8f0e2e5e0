#include "controls/LimitedLineEdit.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinComboList.h"
#include "tests/controls/QtTestApp.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <utility>

namespace zav {
namespace {

using test::windowClick;

const QString kTwentyFive = QStringLiteral("abcdefghijklmnopqrstuvwxy");

class Lists : public ::testing::Test {
protected:
    // The profile list (207 wide), the language list, or a read-only choice list as the mode list.
    void make(int width, bool readOnly) {
        parent.resize(960, 700);
        combo.clear();
        combo.setEditable(true);
        edit().setReadOnly(readOnly);
        combo.setGeometry(420, 160, width, 190); // the owner's height counts the list
        combo.addItems({QStringLiteral("Default"), QStringLiteral("FPS"), QStringLiteral("PC-Pad")});
        parent.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }
    LimitedLineEdit& edit() { return *combo.edit(); }

    QWidget parent;
    SkinComboBox combo{&parent};
};

TEST_F(Lists, a_click_on_the_arrow_or_on_a_choice_list_opens_it_and_a_click_or_enter_chooses) {
    for (const auto& [width, readOnly] :
         std::initializer_list<std::pair<int, bool>>{{207, false}, {150, false}, {140, true}}) {
        SCOPED_TRACE(width);
        make(width, readOnly);
        combo.setCurrentIndex(0);
        QSignalSpy chosen(&combo, &SkinComboBox::chosen);
        windowClick(combo, QPoint(combo.width() - 8, combo.height() / 2));
        SkinComboList* list = combo.list();
        ASSERT_TRUE(list->isVisible()) << "the list closed again on the release of its opening click";
        windowClick(*list->viewport(), list->visualRect(list->model()->index(1, 0)).center());
        EXPECT_FALSE(list->isVisible());
        ASSERT_EQ(chosen.count(), 1);
        EXPECT_EQ(chosen.at(0).at(0).toInt(), 1);
        EXPECT_EQ(edit().text(), QStringLiteral("FPS"));
    }

    make(140, true); // a choice list opens anywhere, and keys choose only on Enter
    QSignalSpy chosen(&combo, &SkinComboBox::chosen);
    windowClick(combo, QPoint(20, 10));
    ASSERT_TRUE(combo.view()->isVisible());
    QTest::keyClick(combo.view(), Qt::Key_Escape);
    EXPECT_TRUE(!combo.view()->isVisible() && parent.isVisible()) << "Escape closes the list, not the window";
    windowClick(combo, QPoint(20, 10));
    QTest::keyClick(combo.view(), Qt::Key_Down);
    QTest::keyClick(combo.view(), Qt::Key_Down);
    EXPECT_EQ(chosen.count(), 0) << "moving the highlight chooses nothing";
    QTest::keyClick(combo.view(), Qt::Key_Return);
    EXPECT_FALSE(combo.view()->isVisible());
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(combo.currentIndex(), 2);
}

TEST_F(Lists, the_profile_name_takes_typing_up_to_20_characters_and_chooses_nothing) {
    make(207, false);
    QSignalSpy chosen(&combo, &SkinComboBox::chosen);
    combo.setEditText(QStringLiteral("Default"));
    edit().setCursorPosition(0);
    windowClick(edit(), QPoint(edit().width() - 4, 8));
    EXPECT_FALSE(combo.view()->isVisible()) << "a click in the text opens nothing";
    EXPECT_EQ(edit().cursorPosition(), 7);
    edit().clear();
    QTest::keyClicks(&edit(), QStringLiteral("fps"));
    QTest::keyClick(&edit(), Qt::Key_Return);
    EXPECT_EQ(chosen.count(), 0) << "typing a listed name chooses nothing";
    EXPECT_EQ(combo.count(), 3) << "Return must not add the typed text as an item";

    edit().selectAll();
    QTest::keyClicks(&edit(), kTwentyFive);
    EXPECT_EQ(edit().text(), kTwentyFive.left(20));
    edit().setText(QStringLiteral("FPS "));
    edit().end(false);
    QGuiApplication::clipboard()->setText(kTwentyFive);
    QTest::keySequence(&edit(), QKeySequence::Paste);
    EXPECT_EQ(edit().text(), QStringLiteral("FPS ") + kTwentyFive.left(16));
    // A longer name set by the program is shown whole and can only be shortened.
    combo.setEditText(kTwentyFive);
    edit().end(false);
    QTest::keyClick(&edit(), Qt::Key_Backspace);
    QTest::keyClick(&edit(), Qt::Key_Z);
    EXPECT_EQ(edit().text(), kTwentyFive.left(24));
}

} // namespace
} // namespace zav
