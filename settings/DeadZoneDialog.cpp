#include "settings/DeadZoneDialog.h"

#include "controls/CellSlider.h"

#include <QPainter>

namespace zav {

namespace {

constexpr QPoint kSliderPlace{96, 152};
constexpr int kPitch = 55;
constexpr int kLabelledCells = 7;
constexpr int kSteps = 8;

} // namespace

DeadZoneDialog::DeadZoneDialog(const SettingsTarget& target, QWidget* parent)
    : SettingsDialog(target, parent) {
    setTitle(TextId::DeadZoneTitle, edges(15, 10, 200, 35));
    setHelp(TextId::DeadZoneHelp, kHelpButton);

    slider_ = new CellSlider(this);
    slider_->setObjectName(QString::number(kSlider));
    slider_->move(kSliderPlace);
    slider_->setFineMode(true);
    addModeCombo();

    normal_ = storedValue(SettingsField::deadZoneNormal);
    ads_ = storedValue(SettingsField::deadZoneAds);
    slider_->setPosition(normal_);
}

void DeadZoneDialog::modeChanged(int, int to) {
    if (to == kModeAds) {
        normal_ = slider_->position();
        slider_->setPosition(ads_);
    } else {
        ads_ = slider_->position();
        slider_->setPosition(normal_);
    }
}

void DeadZoneDialog::store() {
    (settingsMode() == kModeAds ? ads_ : normal_) = slider_->position();
    storeValue(SettingsField::deadZoneNormal, normal_);
    storeValue(SettingsField::deadZoneAds, ads_);
}

void DeadZoneDialog::paintLabels(QPainter& painter) {
    for (int k = 0; k < kLabelledCells; ++k) {
        drawCentred(painter, edges(98 + kPitch * k, 145, 127 + kPitch * k, 165),
                    QString::number(CellSlider::kCellsPerStep * k));
    }
    // The last large cell stores 49 but reads as the end of the scale.
    drawCentred(painter, edges(483, 145, 512, 165), QStringLiteral("50"));
    for (int k = 0; k < kSteps; ++k) {
        drawCentred(painter, edges(102 + kPitch * k, 227, 122 + kPitch * k, 252), QString::number(k + 1));
    }
}

} // namespace zav
