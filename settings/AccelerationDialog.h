#pragma once

#include "settings/SettingsDialog.h"

#include <string_view>

namespace zav {

class CellSlider;

// How strongly mouse movement is accelerated: a step 1..8 per axis, for Normal and for ADS.
class AccelerationDialog : public SettingsDialog {
    Q_OBJECT

public:
    static constexpr int kXSlider = 1163;
    static constexpr int kYSlider = 1164;

    AccelerationDialog(const SettingsTarget& target, QWidget* parent);

    // The factor a step stands for, as the dialog shows it ("x0.25" .. "x8.00"); empty outside 1..8.
    static QString factorLabel(int step);

    CellSlider* xSlider() const { return xSlider_; }
    CellSlider* ySlider() const { return ySlider_; }

protected:
    void store() override;
    void modeChanged(int from, int to) override;
    void paintLabels(QPainter& painter) override;

private:
    // The steps of one mode while the dialog is open.
    struct Steps {
        int x = 0;
        int y = 0;
    };
    Steps& stepsOf(int mode) { return mode == kModeAds ? ads_ : normal_; }
    void takeFromSliders(int mode);
    void showOnSliders(int mode);

    CellSlider* xSlider_ = nullptr;
    CellSlider* ySlider_ = nullptr;
    Steps normal_;
    Steps ads_;
};

} // namespace zav
