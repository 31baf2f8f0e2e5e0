#include "app/MainWindow.h"
#include "controls/CellSlider.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinMessageBox.h"
#include "controls/ToggleButton.h"
#include "pages/AssignmentPage.h"
#include "profiles/ProfileRecord.h"
#include "settings/AccelerationDialog.h"
#include "settings/ButtonOptionsDialog.h"
#include "settings/DeadZoneDialog.h"
#include "settings/SensitivityDialog.h"
#include "tests/e2e/Rig.h"

#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

namespace zav {
namespace {

// The main window after its first connect, polls stopped so that a dialog's frames stand alone in the log.
struct SettingsRig {
    explicit SettingsRig(int model) : rig(model) {
        rig.start();
        for (int m = 1; m <= 3; ++m) {
            rig.dlg->page(m)->setPolling(false);
        }
        QTest::qWait(20);
    }
    MainWindow& main() { return *rig.dlg; }
    SettingsTarget target() { return rig.dlg->page(rig.dlg->currentTab())->settingsTarget(); }
    std::uint8_t work(int model, int slot, SettingsField f, bool sent = false) {
        ProfileImage& image = sent ? main().link().sendImage(model) : main().link().workImage(model);
        return settingsField(recordAt(image, model, slot), model, f);
    }
    std::uint8_t sent(int model, int slot, SettingsField f) { return work(model, slot, f, true); }
    // Puts a value into the record of both pages, as a read from the adapter leaves them.
    void put(int model, int slot, SettingsField field, std::uint8_t value) {
        for (ProfileImage* image : {&main().link().workImage(model), &main().link().sendImage(model)}) {
            setSettingsField(recordAt(*image, model, slot), model, field, value);
        }
    }
    bool sentFrame(std::uint8_t code) {
        return QTest::qWaitFor([&] { return std::ranges::count(rig.adapter.frameCodes(), code) > 0; }, 3000);
    }
    test::Rig rig;
};

template <typename Dialog>
std::unique_ptr<Dialog> open(SettingsRig& rig, const SettingsTarget& target) {
    auto dialog = std::make_unique<Dialog>(target, &rig.main());
    dialog->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    return dialog;
}
template <typename Dialog>
std::unique_ptr<SettingsDialog> openFront(SettingsRig& rig) {
    return open<Dialog>(rig, rig.target());
}

// A user's click on a slider cell: the pointer comes to the cell's centre, presses and releases there.
void pick(CellSlider* slider, int cell) {
    ASSERT_NE(slider, nullptr);
    QWindow* window = slider->window()->windowHandle();
    const QPoint at = slider->mapTo(slider->window(), CellSlider::cellRect(cell).center());
    QTest::mouseMove(window, QPoint(1, 1)); // a pointer that stays put sends no move
    QTest::mouseMove(window, at);
    QTest::mouseClick(window, Qt::LeftButton, {}, at);
}

void ok(SettingsDialog& dialog) {
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
}

TEST(SettingsDialogs, ok_stores_in_both_pages_cancel_leaves_them_and_normal_and_ads_stay_apart) {
    SettingsRig rig(1);
    using Open = std::unique_ptr<SettingsDialog> (*)(SettingsRig&);
    using F = SettingsField;
    const std::tuple<Open, int, int, SettingsField, std::uint8_t> cases[] = {
        {openFront<SensitivityDialog>, SensitivityDialog::kSlider, 49, F::sensitivity, 8},
        {openFront<DeadZoneDialog>, DeadZoneDialog::kSlider, 45, F::deadZoneNormal, 45},
        {openFront<AccelerationDialog>, AccelerationDialog::kXSlider, 49, F::accelXNormal, 8},
        {openFront<ButtonOptionsDialog>, ButtonOptionsDialog::kSnipeYSlider, 49, F::snipeY, 80}};
    for (const auto& [openIt, slider, cell, field, stored] : cases) {
        rig.put(1, 0, field, 2);
        for (const int leave : {0, 1, 2}) { // by the close box, Esc, OK
            SCOPED_TRACE(std::to_string(int(field)) + ", leaving by " + std::to_string(leave));
            const ProfileImage work = rig.main().link().workImage(1);
            const ProfileImage send = rig.main().link().sendImage(1);
            rig.rig.adapter.clearLog();
            const std::unique_ptr<SettingsDialog> dialog = openIt(rig);
            EXPECT_TRUE(rig.sentFrame(0x71));
            pick(dialog->findChild<CellSlider*>(QString::number(slider)), cell);
            if (leave == 2) {
                ok(*dialog);
                EXPECT_EQ(rig.work(1, 0, field), stored);
                EXPECT_EQ(rig.sent(1, 0, field), stored);
                continue;
            }
            leave == 1 ? QTest::keyClick(dialog.get(), Qt::Key_Escape)
                       : QTest::mouseClick(dialog->closeBox(), Qt::LeftButton);
            EXPECT_EQ(dialog->result(), IDCANCEL);
            EXPECT_TRUE(rig.sentFrame(0x79));
            EXPECT_EQ(rig.main().link().workImage(1), work);
            EXPECT_EQ(rig.main().link().sendImage(1), send);
        }
    }
    // A stored value no cell shows comes back as it was.
    for (const std::uint8_t stored : {0, 9}) {
        rig.put(1, 0, SettingsField::sensitivity, stored);
        ok(*openFront<SensitivityDialog>(rig));
        EXPECT_EQ(rig.work(1, 0, SettingsField::sensitivity), stored);
    }

    rig.put(1, 0, SettingsField::deadZoneNormal, 5);
    rig.put(1, 0, SettingsField::deadZoneAds, 40);
    const auto dialog = open<DeadZoneDialog>(rig, rig.target());
    pick(dialog->slider(), 12);
    QTest::keyClick(dialog->modeCombo(), Qt::Key_Down);
    ASSERT_EQ(dialog->modeCombo()->currentIndex(), SettingsDialog::kModeAds);
    EXPECT_EQ(dialog->slider()->position(), 40);
    pick(dialog->slider(), 30);
    QTest::keyClick(dialog->modeCombo(), Qt::Key_Up);
    EXPECT_EQ(dialog->slider()->position(), 12);
    QTest::keyClick(dialog->modeCombo(), Qt::Key_Down);
    ok(*dialog); // with ADS shown
    EXPECT_EQ(rig.sent(1, 0, SettingsField::deadZoneNormal), 12);
    EXPECT_EQ(rig.sent(1, 0, SettingsField::deadZoneAds), 30);
}

TEST(SettingsDialogs, toggles_set_their_bytes_where_the_model_has_them) {
    for (const int model : {3, 2}) {
        SettingsRig rig(model);
        rig.put(model, 0, SettingsField::backLightOff, 1);
        rig.put(model, 0, SettingsField::adsLock, 0);
        const auto dialog = open<ButtonOptionsDialog>(rig, rig.target());
        EXPECT_EQ(dialog->backLightToggle()->isVisible(), model != 2) << "MOSS has no backlight";
        if (model != 2) {
            QTest::mouseClick(dialog->backLightToggle(), Qt::LeftButton);
        }
        QTest::mouseClick(dialog->adsLockToggle(), Qt::LeftButton);
        ok(*dialog);
        EXPECT_EQ(rig.sent(model, 0, SettingsField::backLightOff), model == 2 ? 1 : 0);
        EXPECT_EQ(rig.sent(model, 0, SettingsField::adsLock), 1);
    }
}

TEST(SettingsDialogs, ok_writes_the_record_of_the_tab_and_slot_of_the_opening_or_none_without_a_model) {
    SettingsRig rig(3);
    test::waitTransfer(rig.main().page(3), [&] { test::choose(rig.main().page(3)->slotList(), 2); });
    const ProfileImage kite = rig.main().link().workImage(1);
    const ProfileImage kiteSent = rig.main().link().sendImage(1);
    const std::uint8_t slot0 = rig.work(3, 0, SettingsField::deadZoneNormal);
    const auto dialog = open<DeadZoneDialog>(rig, rig.target());
    rig.main().selectTab(1); // the window moves on while the dialog is open
    pick(dialog->slider(), 17);
    ok(*dialog);
    EXPECT_EQ(rig.sent(3, 2, SettingsField::deadZoneNormal), 17);
    EXPECT_EQ(rig.work(3, 0, SettingsField::deadZoneNormal), slot0);
    EXPECT_EQ(rig.main().link().workImage(1), kite);

    const auto none = open<SensitivityDialog>(rig, {0, 0, rig.main().link(), rig.main().worker(), 0});
    pick(none->slider(), 7);
    ok(*none);
    EXPECT_EQ(none->result(), IDOK);
    EXPECT_EQ(rig.main().link().workImage(1), kite);
    EXPECT_EQ(rig.main().link().sendImage(1), kiteSent);
}

} // namespace
} // namespace zav
