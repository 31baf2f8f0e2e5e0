#pragma once

#include <QWidget>

#include <cstdint>

class QComboBox;
class QLabel;
class QSpinBox;

namespace zav {

class SimulatedAdapter;

// The demo's stand-in for the cable: plug and unplug the simulated adapter, change its model,
// the mouse attached to it and its capability byte while the program runs.
class SimulatorWindow : public QWidget {
    Q_OBJECT
public:
    enum class Mouse { None, Ordinary, Own };

    SimulatorWindow(SimulatedAdapter& adapter, int model, Mouse mouse, int capability,
                    QWidget* parent = nullptr);

    static void applyMouse(SimulatedAdapter& adapter, Mouse mouse);
    // Where a window of `size` goes beside `main`, wholly on `screen`: to its right, else to its
    // left, else inside the screen's right edge below the main window's title row.
    static QPoint placeBeside(const QRect& main, QSize size, const QRect& screen);

signals:
    // As a USB arrival or removal would tell it.
    void deviceChanged();

private:
    void plug();
    void unplug();
    void showState();

    SimulatedAdapter& adapter_;
    QComboBox* model_ = nullptr;
    QComboBox* mouse_ = nullptr;
    QSpinBox* capability_ = nullptr;
    QLabel* state_ = nullptr;
};

} // namespace zav
