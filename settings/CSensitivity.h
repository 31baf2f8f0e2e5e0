#pragma once

#include "settings/CSettingsFrame.h"

namespace zav {

class CPointSlider;

// The sensitivity of the mouse: one of eight steps, shown as 400 to 3200 in steps of 400.
class CSensitivity : public CSettingsFrame {
    Q_OBJECT

public:
    static constexpr int kSlider = 1169;

    CSensitivity(const SettingsTarget& target, QWidget* parent);

    CPointSlider* slider() const { return slider_; }

protected:
    void store() override;
    void paintLabels(QPainter& painter) override;

private:
    CPointSlider* slider_ = nullptr;
};

} // namespace zav
