#include "settings/ButtonOptionsDialog.h"

#include "controls/CellSlider.h"
#include "controls/QtText.h"
#include "controls/Skin.h"
#include "controls/ToggleButton.h"
#include "profiles/ModelDescription.h"

#include <QPainter>

#include <array>

namespace zav {

namespace {

constexpr double kNumberPoints = 9.0;
constexpr int kSliderLeft = 155;
constexpr int kPitch = 55;
constexpr int kSteps = 8;
constexpr QRect kAdsLockPlace{30, 340, 120, 30};
constexpr QRect kBackLightPlace{160, 340, 120, 30};

// One row per slider, top to bottom: where it stands, its caption and the caption's place.
struct SliderRow {
    int top;
    TextId caption;
    int captionTop;
    int captionBottom;
};
constexpr std::array<SliderRow, 3> kRows{
    SliderRow{42, TextId::WalkButton, 76, 101},
    SliderRow{142, TextId::SnipeButtonX, 175, 200},
    SliderRow{242, TextId::SnipeButtonY, 274, 299},
};

} // namespace

ButtonOptionsDialog::ButtonOptionsDialog(const SettingsTarget& target, QWidget* parent)
    : SettingsDialog(target, parent), numberFont_(skinFont(FontFace::Arial, kNumberPoints, language())) {
    setTitle(TextId::ButtonOptionsTitle, edges(15, 10, 240, 35));
    setHelp(TextId::ButtonOptionsHelp, kHelp);

    walk_ = addSlider(kWalkSlider, kRows[0].top, SettingsField::walkSpeed);
    snipeX_ = addSlider(kSnipeXSlider, kRows[1].top, SettingsField::snipeX);
    snipeY_ = addSlider(kSnipeYSlider, kRows[2].top, SettingsField::snipeY);

    adsLock_ = addToggle(kAdsLockToggle, kAdsLockPlace, TextId::ToggleAdsLock);
    backLight_ = addToggle(kBackLightToggle, kBackLightPlace, TextId::ToggleBackLight);
    backLight_->setVisible(hasBackLight());

    adsLock_->setOn(storedValue(SettingsField::adsLock) != 0);
    if (hasBackLight()) {
        backLight_->setOn(storedValue(SettingsField::backLightOff) == 0);
    }
}

bool ButtonOptionsDialog::hasBackLight() const {
    const ModelDescription* m = modelDescription(model());
    return m == nullptr || m->backLightSwitch;
}

CellSlider* ButtonOptionsDialog::addSlider(int id, int top, SettingsField field) {
    auto* slider = new CellSlider(this);
    slider->setObjectName(QString::number(id));
    slider->move(kSliderLeft, top);
    slider->setFineMode(false);
    slider->setPosition(positionForTens(storedValue(field)));
    return slider;
}

ToggleButton* ButtonOptionsDialog::addToggle(int id, const QRect& place, TextId caption) {
    // Without texts of the language the toggles keep their English captions.
    const QString captionText = hasTexts() ? languageText(caption) : qstr(text(caption, 0));
    auto* toggle = new ToggleButton(id, captionText, this);
    toggle->setLanguage(language());
    toggle->setGeometry(place);
    return toggle;
}

void ButtonOptionsDialog::store() {
    storeValue(SettingsField::snipeX, tensForPosition(snipeX_->position()));
    storeValue(SettingsField::snipeY, tensForPosition(snipeY_->position()));
    storeValue(SettingsField::walkSpeed, tensForPosition(walk_->position()));
    storeValue(SettingsField::adsLock, adsLock_->on() ? 1 : 0);
    if (hasBackLight()) {
        storeValue(SettingsField::backLightOff, backLight_->on() ? 0 : 1);
    }
}

void ButtonOptionsDialog::paintLabels(QPainter& painter) {
    for (const SliderRow& row : kRows) {
        painter.drawText(edges(5, row.captionTop, 155, row.captionBottom),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, languageText(row.caption));
    }
    painter.setFont(numberFont_);
    for (int rowIndex = 0; rowIndex < static_cast<int>(kRows.size()); ++rowIndex) {
        const int down = 100 * rowIndex;
        for (int k = 0; k < kSteps; ++k) {
            const int shift = kPitch * k;
            drawCentred(painter, edges(147 + shift, 40 + down, 196 + shift, 55 + down),
                        QString::number(10 * (k + 1)));
            drawCentred(painter, edges(161 + shift, 118 + down, 181 + shift, 133 + down),
                        QString::number(k + 1));
        }
    }
}

} // namespace zav
