#include "controls/SkinComboBox.h"
#include "settings/AccelerationDialog.h"
#include "tests/settings/SettingsRig.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

using test::open;
using test::pick;
using test::SettingsRig;

TEST(Acceleration, x_in_normal_and_y_in_ads_change_only_those_two_bytes) {
    SettingsRig rig(1);
    rig.put(1, 0, SettingsField::accelXNormal, 4);
    rig.put(1, 0, SettingsField::accelYNormal, 4);
    rig.put(1, 0, SettingsField::accelXAds, 5);
    rig.put(1, 0, SettingsField::accelYAds, 0);
    AccelerationDialog dialog(rig.target(), &rig.main());
    open(dialog);
    EXPECT_EQ(dialog.xSlider()->position(), 21); // x1.00 on both
    EXPECT_EQ(dialog.ySlider()->position(), 21);
    pick(dialog.xSlider(), 49);
    EXPECT_EQ(dialog.ySlider()->position(), 21); // the axes never move each other
    QTest::keyClick(dialog.modeCombo(), Qt::Key_Down);
    EXPECT_EQ(dialog.xSlider()->position(), 28);
    EXPECT_EQ(dialog.ySlider()->position(), -7);
    pick(dialog.ySlider(), 0);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    for (const ProfileImage* image : {&rig.main().link().workImage(1), &rig.main().link().sendImage(1)}) {
        const auto record = recordAt(*image, 1, 0);
        EXPECT_EQ(record[50], 8); // X Normal
        EXPECT_EQ(record[51], 4); // Y Normal
        EXPECT_EQ(record[52], 5); // X ADS
        EXPECT_EQ(record[53], 1); // Y ADS
    }
}

} // namespace
} // namespace zav
