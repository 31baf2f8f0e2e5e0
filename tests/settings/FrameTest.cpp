#include "controls/Skin.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinMessageBox.h"
#include "settings/AccelerationDialog.h"
#include "settings/ButtonOptionsDialog.h"
#include "settings/DeadZoneDialog.h"
#include "settings/SensitivityDialog.h"
#include "tests/controls/QtTestApp.h"
#include "tests/settings/SettingsRig.h"
#include "text/Texts.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

using test::open;
using test::pick;
using test::SettingsRig;

// Opens a dialog, changes a slider and leaves with the close box, or with Esc.
template <typename Dialog>
void closeLeavesTheRecord(SettingsRig& rig, int sliderId, bool byEsc = false) {
    const ProfileImage work = rig.main().link().workImage(1);
    const ProfileImage send = rig.main().link().sendImage(1);
    rig.rig.adapter.clearLog();
    Dialog dialog(rig.target(), &rig.main());
    open(dialog);
    EXPECT_TRUE(rig.sentFrame(0x71));
    pick(dialog.template findChild<CellSlider*>(QString::number(sliderId)), 42);
    if (byEsc) {
        QTest::keyClick(&dialog, Qt::Key_Escape);
    } else {
        QTest::mouseClick(dialog.closeBox(), Qt::LeftButton);
    }
    EXPECT_EQ(dialog.result(), IDCANCEL);
    EXPECT_TRUE(rig.sentFrame(0x79));
    EXPECT_EQ(rig.main().link().workImage(1), work);
    EXPECT_EQ(rig.main().link().sendImage(1), send);
}

TEST(SettingsFrame, close_box_and_esc_send_release_and_leave_both_pages_as_they_were) {
    SettingsRig rig(1);
    closeLeavesTheRecord<SensitivityDialog>(rig, SensitivityDialog::kSlider);
    closeLeavesTheRecord<DeadZoneDialog>(rig, DeadZoneDialog::kSlider);
    closeLeavesTheRecord<AccelerationDialog>(rig, AccelerationDialog::kYSlider);
    closeLeavesTheRecord<ButtonOptionsDialog>(rig, ButtonOptionsDialog::kSnipeYSlider);
    closeLeavesTheRecord<SensitivityDialog>(rig, SensitivityDialog::kSlider, true);
}

TEST(SettingsFrame, without_a_model_the_first_models_record_shows_and_ok_writes_nothing) {
    SettingsRig rig(3);
    rig.put(1, 0, SettingsField::sensitivity, 5);
    const ProfileImage work = rig.main().link().workImage(1);
    const ProfileImage send = rig.main().link().sendImage(1);
    const SettingsTarget none{0, 0, rig.main().link(), rig.main().worker(), 0};
    SensitivityDialog dialog(none, &rig.main());
    open(dialog);
    EXPECT_EQ(dialog.slider()->position(), 28);
    pick(dialog.slider(), 7);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), IDOK);
    EXPECT_EQ(rig.main().link().workImage(1), work);
    EXPECT_EQ(rig.main().link().sendImage(1), send);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(qobject_cast<SkinMessageBox*>(w) != nullptr && w->isVisible()) << "no message is shown";
    }
}

TEST(SettingsFrame, ok_writes_the_record_of_the_tab_and_slot_chosen_at_opening) {
    SettingsRig rig(3);
    AssignmentPage* fern = rig.main().page(3);
    QSignalSpy done(fern, &AssignmentPage::transferDone);
    test::choose(fern->slotList(), 2);
    ASSERT_TRUE(done.count() > 0 || done.wait(5000));
    rig.put(3, 2, SettingsField::deadZoneNormal, 4);
    const ProfileImage kite = rig.main().link().workImage(1);
    const std::uint8_t slot0 = rig.work(3, 0, SettingsField::deadZoneNormal);

    DeadZoneDialog dialog(rig.target(), &rig.main());
    open(dialog);
    EXPECT_EQ(dialog.slider()->position(), 4);
    rig.main().selectTab(1); // the window moves on while the dialog is open
    pick(dialog.slider(), 17);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(rig.work(3, 2, SettingsField::deadZoneNormal), 17);
    EXPECT_EQ(rig.sent(3, 2, SettingsField::deadZoneNormal), 17);
    EXPECT_EQ(rig.work(3, 0, SettingsField::deadZoneNormal), slot0);
    EXPECT_EQ(rig.main().link().workImage(1), kite);
}

TEST(SettingsFrame, help_shows_the_lines_of_the_language_in_an_ok_box) {
    SettingsRig rig(1);
    rig.main().languageList()->setCurrentIndex(1);
    ButtonOptionsDialog dialog(rig.target(), &rig.main());
    open(dialog);
    QStringList shown;
    QTimer::singleShot(50, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<SkinMessageBox*>(w); box != nullptr && box->isVisible()) {
                for (int i = 0; i < box->lineCount(); ++i) {
                    shown << box->line(i);
                }
                EXPECT_EQ(box->kind(), MessageBoxKind::OkOnly);
                box->accept();
            }
        }
    });
    QTest::mouseClick(dialog.findChild<QWidget*>(QStringLiteral("1159")), Qt::LeftButton);
    QStringList expected;
    for (std::string_view line : textLines(TextId::ButtonOptionsHelp, 1)) {
        expected << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    }
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(SettingsFrame, value_labels_stay_readable_where_they_reach_into_a_slider) {
    SettingsRig rig(1);
    SensitivityDialog dialog(rig.target(), &rig.main());
    open(dialog);
    // The "400" label stands from y = 145 to 165; the slider, black there, starts at y = 152.
    EXPECT_TRUE(test::anyPixel(test::snapshot(dialog), QRect(85, 152, 49, 13), skin::kRed, 40));
}

} // namespace
} // namespace zav
