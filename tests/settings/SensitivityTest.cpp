#include "settings/SensitivityDialog.h"
#include "tests/settings/SettingsRig.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

using test::open;
using test::SettingsRig;

constexpr auto kField = SettingsField::sensitivity;

// Opens the dialog on a stored step, checks the position shown, picks `cell` (-1: none), confirms
// with Enter and gives the step stored, the same in both pages.
int roundTrip(SettingsRig& rig, std::uint8_t stored, int shown, int cell) {
    rig.put(1, 0, kField, stored);
    SensitivityDialog dialog(rig.target(), &rig.main());
    open(dialog);
    EXPECT_EQ(dialog.slider()->position(), shown);
    if (cell >= 0) {
        test::pick(dialog.slider(), cell);
    }
    QTest::keyClick(dialog.okButton(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), IDOK);
    EXPECT_EQ(rig.work(1, 0, kField), rig.sent(1, 0, kField));
    return rig.work(1, 0, kField);
}

TEST(Sensitivity, steps_sit_on_the_large_cells_and_others_come_back_as_they_were) {
    SettingsRig rig(1);
    EXPECT_EQ(roundTrip(rig, 3, 14, -1), 3);
    EXPECT_EQ(roundTrip(rig, 3, 14, 49), 8);
    EXPECT_EQ(roundTrip(rig, 8, 49, 0), 1);
    EXPECT_EQ(roundTrip(rig, 1, 0, 10), 1); // a small cell cannot be chosen here
    // A step outside 1..8 shows no cell and comes back unless a cell is picked.
    EXPECT_EQ(roundTrip(rig, 0, -7, -1), 0);
    EXPECT_EQ(roundTrip(rig, 9, 56, -1), 9);
    EXPECT_EQ(roundTrip(rig, 0, -7, 21), 4);
}

} // namespace
} // namespace zav
