#pragma once

#include "settings/SettingsDialog.h"

namespace zav {

class CellSlider;

// The dead zone of the stick the mouse drives, one value 0..49 for Normal and one for ADS; the
// slider's cell index is the stored value.
class DeadZoneDialog : public SettingsDialog {
    Q_OBJECT

public:
    static constexpr int kSlider = 1163;

    DeadZoneDialog(const SettingsTarget& target, QWidget* parent);

    CellSlider* slider() const { return slider_; }
    // The value of the mode that the slider does not show is kept here until OK.
    int normalValue() const { return normal_; }
    int adsValue() const { return ads_; }

protected:
    void store() override;
    void modeChanged(int from, int to) override;
    void paintLabels(QPainter& painter) override;

private:
    CellSlider* slider_ = nullptr;
    int normal_ = 0;
    int ads_ = 0;
};

} // namespace zav
