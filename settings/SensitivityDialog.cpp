#include "settings/SensitivityDialog.h"

#include "controls/CellSlider.h"

#include <QPainter>

namespace zav {

namespace {

constexpr QPoint kSliderPlace{96, 152};
constexpr int kStepDpi = 400;
constexpr int kSteps = 8;
constexpr int kPitch = 55;

} // namespace

SensitivityDialog::SensitivityDialog(const SettingsTarget& target, QWidget* parent)
    : SettingsDialog(target, parent) {
    setTitle(TextId::SensitivityTitle, edges(15, 10, 200, 35));
    setHelp(TextId::SensitivityHelp, kHelpButton);

    slider_ = new CellSlider(this);
    slider_->setObjectName(QString::number(kSlider));
    slider_->move(kSliderPlace);
    slider_->setFineMode(false);
    slider_->setPosition(positionForStep(storedValue(SettingsField::sensitivity)));
}

void SensitivityDialog::store() {
    storeValue(SettingsField::sensitivity, stepForPosition(slider_->position()));
}

void SensitivityDialog::paintLabels(QPainter& painter) {
    for (int k = 0; k < kSteps; ++k) {
        drawCentred(painter, edges(85 + kPitch * k, 145, 134 + kPitch * k, 165),
                    QString::number((k + 1) * kStepDpi));
        drawCentred(painter, edges(102 + kPitch * k, 230, 122 + kPitch * k, 250), QString::number(k + 1));
    }
}

} // namespace zav
