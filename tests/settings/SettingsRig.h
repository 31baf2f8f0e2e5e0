#pragma once

#include "app/MainWindow.h"
#include "controls/CellSlider.h"
#include "controls/SkinButton.h"
#include "controls/ToggleButton.h"
#include "pages/AssignmentPage.h"
#include "profiles/ProfileRecord.h"
#include "settings/SettingsTarget.h"
#include "tests/e2e/Rig.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace zav::test {

// The real main window over a simulated adapter of `model`, after its first connect pass, with the
// status polls stopped so that the frames a dialog sends stand alone in the adapter's log.
struct SettingsRig {
    explicit SettingsRig(int model) : rig(model) {
        rig.start();
        for (int m = 1; m <= 3; ++m) {
            rig.dlg->page(m)->setPolling(false);
        }
        QTest::qWait(20);
        rig.adapter.clearLog();
    }

    MainWindow& main() { return *rig.dlg; }
    // What the page in front hands a settings dialog it opens.
    SettingsTarget target() { return rig.dlg->page(rig.dlg->currentTab())->settingsTarget(); }

    std::uint8_t work(int model, int slot, SettingsField field) {
        return settingsField(recordAt(rig.dlg->link().workImage(model), model, slot), model, field);
    }
    std::uint8_t sent(int model, int slot, SettingsField field) {
        return settingsField(recordAt(rig.dlg->link().sendImage(model), model, slot), model, field);
    }
    // Puts a value into the record of both pages, as a read from the adapter leaves them.
    void put(int model, int slot, SettingsField field, std::uint8_t value) {
        setSettingsField(recordAt(rig.dlg->link().workImage(model), model, slot), model, field, value);
        setSettingsField(recordAt(rig.dlg->link().sendImage(model), model, slot), model, field, value);
    }
    // Waits for the device thread to have sent a frame with this code.
    bool sentFrame(std::uint8_t code) {
        return QTest::qWaitFor(
            [&] {
                const auto codes = rig.adapter.frameCodes();
                return std::find(codes.begin(), codes.end(), code) != codes.end();
            },
            3000);
    }

    Rig rig;
};

// Shows a dialog as exec would and waits until it can take mouse events.
inline void open(QWidget& dialog) {
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        ADD_FAILURE() << "the dialog never showed";
    }
}

// A user's click on a slider cell, as the window system delivers it: the pointer comes to the
// cell's centre, then presses and releases there.
inline void pick(CellSlider* slider, int cell) {
    QWindow* window = slider->window()->windowHandle();
    const QPoint at = slider->mapTo(slider->window(), CellSlider::cellRect(cell).center());
    QTest::mouseMove(window, QPoint(1, 1)); // a pointer that stays put sends no move
    QTest::mouseMove(window, at);
    QTest::mouseClick(window, Qt::LeftButton, {}, at);
}

} // namespace zav::test
