#include "app/MainWindow.h"
#include "controls/CellSlider.h"
#include "controls/SkinComboBox.h"
#include "controls/ToggleButton.h"
#include "pages/AssignmentPage.h"
#include "pages/MoveButton.h"
#include "tests/e2e/Rig.h"
#include "text/Texts.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace zav {
namespace {

using test::Rig;

constexpr int kNcPalette = 1049;
constexpr int kDPadButton = 1137;
constexpr int kLStickButton = 1141;

QAccessibleInterface* face(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w);
}

QString name(QWidget* w) {
    return face(w)->text(QAccessible::Name);
}

TEST(Accessible, key_slots_name_their_number_and_function_in_the_current_language) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    MoveButton* slot1 = page->slotButton(1);
    EXPECT_EQ(face(slot1)->role(), QAccessible::Button);
    EXPECT_EQ(name(slot1), QStringLiteral("Key 1: ") + page->slotLabel(1));
    EXPECT_EQ(name(page->paletteButton(kNcPalette)), QStringLiteral("NC"));
    // A new function renames the slot; another language renames every slot.
    test::windowClick(*slot1, slot1->rect().center());
    MoveButton* nc = page->paletteButton(kNcPalette);
    test::windowClick(*nc, nc->rect().center());
    EXPECT_EQ(name(page->slotButton(1)), QStringLiteral("Key 1: NC"));
    test::choose(rig.dlg->languageList(), 1);
    EXPECT_EQ(name(page->slotButton(1)), QStringLiteral("Touche 1 : NC"));
    EXPECT_EQ(AssignmentPage::slotName(5, QString(), 1), QStringLiteral("Touche 5"));
    EXPECT_EQ(AssignmentPage::slotName(5, QString(), 4), QStringLiteral("按键 5"));
}

TEST(Accessible, toggles_say_whether_they_are_on_and_lists_name_their_item) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    auto* dpad = qobject_cast<ToggleButton*>(page->control(kDPadButton));
    auto* lstick = qobject_cast<ToggleButton*>(page->control(kLStickButton));
    ASSERT_NE(dpad, nullptr);
    ASSERT_NE(lstick, nullptr);
    EXPECT_EQ(face(dpad)->role(), QAccessible::Button);
    EXPECT_EQ(name(dpad), dpad->text());
    EXPECT_TRUE(face(dpad)->state().checkable);
    EXPECT_TRUE(face(dpad)->state().checked);
    EXPECT_FALSE(face(lstick)->state().checked);
    test::windowClick(*lstick, lstick->rect().center());
    EXPECT_FALSE(face(dpad)->state().checked);
    EXPECT_TRUE(face(lstick)->state().checked);
    EXPECT_EQ(face(rig.dlg->tab(1))->state().checked, true);

    EXPECT_EQ(name(page->modeList()), QStringLiteral("Playstation4"));
    QSignalSpy done(page, &AssignmentPage::transferDone);
    test::choose(page->modeList(), 3);
    ASSERT_TRUE(done.count() > 0 || done.wait(5000));
    EXPECT_EQ(name(page->modeList()), page->modeList()->currentText());
    EXPECT_NE(name(page->modeList()), QStringLiteral("Playstation4"));
}

TEST(Accessible, a_slider_tells_its_value_as_it_changes) {
    CellSlider slider;
    slider.setPosition(14);
    slider.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    QAccessibleInterface* iface = face(&slider);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Slider);
    ASSERT_NE(iface->valueInterface(), nullptr);
    EXPECT_EQ(iface->valueInterface()->currentValue().toInt(), 14);
    EXPECT_EQ(iface->valueInterface()->maximumValue().toInt(), 49);
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("14"));
    QTest::keyClick(&slider, Qt::Key_Right);
    EXPECT_EQ(iface->valueInterface()->currentValue().toInt(), 21);
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("21"));
    // A click on a large cell: the pointer passes over it first, as a hand's would.
    const QPoint cell0 = CellSlider::cellRect(0).center();
    QTest::mouseMove(&slider, cell0);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, cell0);
    EXPECT_EQ(iface->valueInterface()->currentValue().toInt(), 0);
}

} // namespace
} // namespace zav
