#include "settings/AccelerationDialog.h"

#include "controls/CellSlider.h"
#include "controls/QtText.h"

#include <QPainter>

#include <array>

namespace zav {

namespace {

constexpr QPoint kXSliderPlace{96, 92};
constexpr QPoint kYSliderPlace{96, 207};
constexpr int kPitch = 55;

// The factor of each step 1..8.
constexpr std::array<double, 8> kFactors{0.25, 0.50, 0.75, 1.00, 1.50, 2.00, 4.00, 8.00};

} // namespace

AccelerationDialog::AccelerationDialog(const SettingsTarget& target, QWidget* parent)
    : SettingsDialog(target, parent) {
    setTitle(TextId::AccelerationTitle, edges(15, 10, 240, 35));
    setHelp(TextId::AccelerationHelp, kHelpButton);
    addModeCombo();

    xSlider_ = new CellSlider(this);
    xSlider_->setObjectName(QString::number(kXSlider));
    xSlider_->move(kXSliderPlace);
    ySlider_ = new CellSlider(this);
    ySlider_->setObjectName(QString::number(kYSlider));
    ySlider_->move(kYSliderPlace);

    normal_ = {storedValue(SettingsField::accelXNormal), storedValue(SettingsField::accelYNormal)};
    ads_ = {storedValue(SettingsField::accelXAds), storedValue(SettingsField::accelYAds)};
    showOnSliders(kModeNormal);
}

QString AccelerationDialog::factorLabel(int step) {
    if (step < 1 || step > static_cast<int>(kFactors.size())) {
        return {};
    }
    return QString::asprintf("x%.2f", kFactors[static_cast<std::size_t>(step - 1)]);
}

void AccelerationDialog::takeFromSliders(int mode) {
    stepsOf(mode) = {stepForPosition(xSlider_->position()), stepForPosition(ySlider_->position())};
}

void AccelerationDialog::showOnSliders(int mode) {
    const Steps& steps = stepsOf(mode);
    xSlider_->setPosition(positionForStep(steps.x));
    ySlider_->setPosition(positionForStep(steps.y));
}

void AccelerationDialog::modeChanged(int from, int to) {
    takeFromSliders(from);
    showOnSliders(to);
}

void AccelerationDialog::store() {
    takeFromSliders(settingsMode());
    storeValue(SettingsField::accelXNormal, normal_.x);
    storeValue(SettingsField::accelYNormal, normal_.y);
    storeValue(SettingsField::accelXAds, ads_.x);
    storeValue(SettingsField::accelYAds, ads_.y);
}

void AccelerationDialog::paintLabels(QPainter& painter) {
    // The axis letters read the same in every language.
    const std::string_view x = text(TextId::AxisX, 0);
    const std::string_view y = text(TextId::AxisY, 0);
    drawCentred(painter, edges(75, 128, 95, 148), qstr(x));
    drawCentred(painter, edges(75, 238, 95, 258), qstr(y));
    for (int k = 0; k < static_cast<int>(kFactors.size()); ++k) {
        const int shift = kPitch * k;
        const QString factor = factorLabel(k + 1);
        drawCentred(painter, edges(88 + shift, 87, 135 + shift, 105), factor);
        drawCentred(painter, edges(88 + shift, 202, 135 + shift, 218), factor);
        const QString step = QString::number(k + 1);
        drawCentred(painter, edges(102 + shift, 169, 122 + shift, 189), step);
        drawCentred(painter, edges(102 + shift, 285, 122 + shift, 302), step);
    }
}

} // namespace zav
