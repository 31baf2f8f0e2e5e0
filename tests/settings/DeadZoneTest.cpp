#include "controls/SkinComboBox.h"
#include "settings/DeadZoneDialog.h"
#include "tests/settings/SettingsRig.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

using test::open;
using test::pick;
using test::SettingsRig;

constexpr auto kNormal = SettingsField::deadZoneNormal;
constexpr auto kAds = SettingsField::deadZoneAds;

// A user's choice in the mode list: the arrow keys move its selection.
void chooseMode(SettingsDialog& dialog, int mode) {
    QTest::keyClick(dialog.modeCombo(), mode == SettingsDialog::kModeAds ? Qt::Key_Down : Qt::Key_Up);
    ASSERT_EQ(dialog.modeCombo()->currentIndex(), mode);
}

TEST(DeadZone, normal_and_ads_keep_their_own_values_through_switches_and_ok) {
    SettingsRig rig(1);
    rig.put(1, 0, kNormal, 5);
    rig.put(1, 0, kAds, 40);
    {
        DeadZoneDialog dialog(rig.target(), &rig.main());
        open(dialog);
        EXPECT_EQ(dialog.slider()->position(), 5);
        pick(dialog.slider(), 12);
        chooseMode(dialog, SettingsDialog::kModeAds);
        EXPECT_EQ(dialog.slider()->position(), 40);
        pick(dialog.slider(), 30);
        chooseMode(dialog, SettingsDialog::kModeNormal);
        EXPECT_EQ(dialog.slider()->position(), 12);
        chooseMode(dialog, SettingsDialog::kModeAds);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton); // with ADS shown
    }
    EXPECT_EQ(rig.work(1, 0, kNormal), 12);
    EXPECT_EQ(rig.work(1, 0, kAds), 30);
    EXPECT_EQ(rig.sent(1, 0, kNormal), 12);
    EXPECT_EQ(rig.sent(1, 0, kAds), 30);

    DeadZoneDialog again(rig.target(), &rig.main());
    EXPECT_EQ(again.modeCombo()->currentIndex(), SettingsDialog::kModeNormal);
    EXPECT_EQ(again.slider()->position(), 12);
}

TEST(DeadZone, every_cell_is_a_value_and_the_last_one_is_49) {
    SettingsRig rig(1);
    for (const int cell : {49, 0, 3, 45}) {
        DeadZoneDialog dialog(rig.target(), &rig.main());
        open(dialog);
        pick(dialog.slider(), cell);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        EXPECT_EQ(rig.work(1, 0, kNormal), cell);
        EXPECT_EQ(rig.sent(1, 0, kNormal), cell);
    }
}

} // namespace
} // namespace zav
