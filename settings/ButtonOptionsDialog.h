#pragma once

#include "settings/SettingsDialog.h"

#include <QFont>

namespace zav {

class ToggleButton;
class CellSlider;

// The values behind the Walk and Snipe buttons (10..80 in tens) and the ADS lock and backlight
// switches. The second model has no backlight switch: its toggle is hidden and its byte left alone.
class ButtonOptionsDialog : public SettingsDialog {
    Q_OBJECT

public:
    static constexpr int kHelp = 1159;
    static constexpr int kWalkSlider = 1171;
    static constexpr int kSnipeXSlider = 1172;
    static constexpr int kSnipeYSlider = 1173;
    static constexpr int kAdsLockToggle = 1161;
    static constexpr int kBackLightToggle = 1141;

    ButtonOptionsDialog(const SettingsTarget& target, QWidget* parent);

    CellSlider* walkSlider() const { return walk_; }
    CellSlider* snipeXSlider() const { return snipeX_; }
    CellSlider* snipeYSlider() const { return snipeY_; }
    ToggleButton* adsLockToggle() const { return adsLock_; }
    ToggleButton* backLightToggle() const { return backLight_; }

protected:
    void store() override;
    void paintLabels(QPainter& painter) override;

private:
    bool hasBackLight() const;
    CellSlider* addSlider(int id, int top, SettingsField field);
    ToggleButton* addToggle(int id, const QRect& place, TextId caption);

    QFont numberFont_;
    CellSlider* walk_ = nullptr;
    CellSlider* snipeX_ = nullptr;
    CellSlider* snipeY_ = nullptr;
    ToggleButton* adsLock_ = nullptr;
    ToggleButton* backLight_ = nullptr;
};

} // namespace zav
