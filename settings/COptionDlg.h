#pragma once

#include "settings/CSettingsFrame.h"

#include <QFont>

namespace zav {

class CDpLsButton;
class CPointSlider;

// The values behind the Walk and Snipe buttons (10..80 in tens) and the ADS lock and backlight
// switches. The second model has no backlight switch: its toggle is hidden and its byte left alone.
class COptionDlg : public CSettingsFrame {
    Q_OBJECT

public:
    static constexpr int kHelp = 1159;
    static constexpr int kWalkSlider = 1171;
    static constexpr int kSnipeXSlider = 1172;
    static constexpr int kSnipeYSlider = 1173;
    static constexpr int kAdsLockToggle = 1161;
    static constexpr int kBackLightToggle = 1141;

    COptionDlg(const SettingsTarget& target, QWidget* parent);

    CPointSlider* walkSlider() const { return walk_; }
    CPointSlider* snipeXSlider() const { return snipeX_; }
    CPointSlider* snipeYSlider() const { return snipeY_; }
    CDpLsButton* adsLockToggle() const { return adsLock_; }
    CDpLsButton* backLightToggle() const { return backLight_; }

protected:
    void store() override;
    void paintLabels(QPainter& painter) override;

private:
    bool hasBackLight() const;
    CPointSlider* addSlider(int id, int top, SettingsField field);
    CDpLsButton* addToggle(int id, const QRect& place, TextId caption);

    QFont numberFont_;
    CPointSlider* walk_ = nullptr;
    CPointSlider* snipeX_ = nullptr;
    CPointSlider* snipeY_ = nullptr;
    CDpLsButton* adsLock_ = nullptr;
    CDpLsButton* backLight_ = nullptr;
};

} // namespace zav
