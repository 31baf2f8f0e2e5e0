#pragma once

#include "controls/SkinMessageBox.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

namespace zav::test {

// Answers every message box of the window with OK and remembers its first line.
struct BoxWatcher {
    BoxWatcher() {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<SkinMessageBox*>(w); box != nullptr && box->isVisible()) {
                    lines.push_back(box->line(0));
                    box->accept();
                }
            }
        });
        timer.start();
    }
    QTimer timer;
    QStringList lines;
};

} // namespace zav::test
