#include "settings/CSensitivity.h"

#include "controls/CPointSlider.h"

#include <QPainter>

namespace zav {

namespace {

constexpr QPoint kSliderPlace{96, 152};
constexpr int kStepDpi = 400;
constexpr int kSteps = 8;
constexpr int kPitch = 55;

} // namespace

CSensitivity::CSensitivity(const SettingsTarget& target, QWidget* parent) : CSettingsFrame(target, parent) {
    setTitle(TextId::SensitivityTitle, edges(15, 10, 200, 35));
    setHelp(TextId::SensitivityHelp, kHelpButton);

    slider_ = new CPointSlider(this);
    slider_->setObjectName(QString::number(kSlider));
    slider_->move(kSliderPlace);
    slider_->setFineMode(false);
    slider_->setPosition(positionForStep(storedValue(SettingsField::sensitivity)));
}

void CSensitivity::store() {
    storeValue(SettingsField::sensitivity, stepForPosition(slider_->position()));
}

void CSensitivity::paintLabels(QPainter& painter) {
    for (int k = 0; k < kSteps; ++k) {
        drawCentred(painter, edges(85 + kPitch * k, 145, 134 + kPitch * k, 165),
                    QString::number((k + 1) * kStepDpi));
        drawCentred(painter, edges(102 + kPitch * k, 230, 122 + kPitch * k, 250), QString::number(k + 1));
    }
}

} // namespace zav
