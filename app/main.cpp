// zavora: the configuration utility for the adapters attached to this machine.
#include "app/CZavoraApp.h"
#include "app/CZavoraDlg.h"
#include "device/DeviceWatcher.h"
#include "device/HidApiBackend.h"

#include <cstdlib>

int main(int argc, char** argv) {
    zav::CZavoraApp app(argc, argv);
    if (!app.InitInstance()) {
        return 0;
    }
    zav::HidApiBackend backend;
    auto* dlg = new zav::CZavoraDlg(backend);
    zav::DeviceWatcher watcher([&backend] { return backend.enumerate(); });
    QObject::connect(&watcher, &zav::DeviceWatcher::deviceChanged, dlg, &zav::CZavoraDlg::onDeviceChange);
    dlg->start(zav::CZavoraApp::systemLangId());
    // The window ends the program when it closes.
    QObject::connect(dlg, &QDialog::finished, &app, &QApplication::quit);
    dlg->show();
    const int result = app.exec();
    if (!dlg->stoppedCleanly()) {
        // A transfer never came back: leave without unwinding what it still uses.
        std::_Exit(result);
    }
    delete dlg;
    return 0;
}
