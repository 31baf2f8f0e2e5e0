#pragma once

#include "settings/SettingsDialog.h"

namespace zav {

class CellSlider;

// The sensitivity of the mouse: one of eight steps, shown as 400 to 3200 in steps of 400.
class SensitivityDialog : public SettingsDialog {
    Q_OBJECT

public:
    static constexpr int kSlider = 1169;

    SensitivityDialog(const SettingsTarget& target, QWidget* parent);

    CellSlider* slider() const { return slider_; }

protected:
    void store() override;
    void paintLabels(QPainter& painter) override;

private:
    CellSlider* slider_ = nullptr;
};

} // namespace zav
