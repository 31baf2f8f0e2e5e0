#include "settings/ButtonOptionsDialog.h"
#include "tests/settings/SettingsRig.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

using test::open;
using test::pick;
using test::SettingsRig;

TEST(ButtonOptions, sliders_show_tens_on_their_cells_and_ok_writes_tens) {
    SettingsRig rig(1);
    rig.put(1, 0, SettingsField::walkSpeed, 50);
    rig.put(1, 0, SettingsField::snipeX, 35); // between two cells
    rig.put(1, 0, SettingsField::snipeY, 0);
    ButtonOptionsDialog dialog(rig.target(), &rig.main());
    open(dialog);
    EXPECT_EQ(dialog.walkSlider()->position(), 28);
    EXPECT_EQ(dialog.snipeXSlider()->position(), 14);
    EXPECT_EQ(dialog.snipeYSlider()->position(), -7);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(rig.work(1, 0, SettingsField::walkSpeed), 50);
    EXPECT_EQ(rig.sent(1, 0, SettingsField::snipeX), 30);
    EXPECT_EQ(rig.work(1, 0, SettingsField::snipeY), 0);

    ButtonOptionsDialog again(rig.target(), &rig.main());
    open(again);
    pick(again.snipeYSlider(), 49);
    pick(again.walkSlider(), 0);
    QTest::mouseClick(again.okButton(), Qt::LeftButton);
    EXPECT_EQ(rig.work(1, 0, SettingsField::snipeY), 80);
    EXPECT_EQ(rig.sent(1, 0, SettingsField::walkSpeed), 10);
}

TEST(ButtonOptions, toggles_follow_and_set_the_backlight_and_ads_lock_bytes) {
    SettingsRig rig(3);
    rig.put(3, 0, SettingsField::backLightOff, 1);
    rig.put(3, 0, SettingsField::adsLock, 0);
    for (const bool on : {true, false}) {
        ButtonOptionsDialog dialog(rig.target(), &rig.main());
        open(dialog);
        EXPECT_EQ(dialog.backLightToggle()->on(), !on);
        EXPECT_EQ(dialog.adsLockToggle()->on(), !on);
        QTest::mouseClick(dialog.backLightToggle(), Qt::LeftButton);
        QTest::mouseClick(dialog.adsLockToggle(), Qt::LeftButton);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        EXPECT_EQ(rig.work(3, 0, SettingsField::backLightOff), on ? 0 : 1);
        EXPECT_EQ(rig.sent(3, 0, SettingsField::adsLock), on ? 1 : 0);
    }
}

TEST(ButtonOptions, moss_has_no_backlight_toggle_and_ok_leaves_its_byte) {
    SettingsRig rig(2);
    rig.put(2, 0, SettingsField::backLightOff, 0);
    ButtonOptionsDialog dialog(rig.target(), &rig.main());
    open(dialog);
    EXPECT_FALSE(dialog.backLightToggle()->isVisible());
    EXPECT_FALSE(dialog.backLightToggle()->on()); // the byte is not read
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(rig.work(2, 0, SettingsField::backLightOff), 0);
    EXPECT_EQ(rig.sent(2, 0, SettingsField::backLightOff), 0);
}

} // namespace
} // namespace zav
