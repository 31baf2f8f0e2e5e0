// zavora: the configuration utility for the adapters attached to this machine.
#include "app/MainWindow.h"
#include "app/ZavoraApp.h"
#include "device/DeviceWatcher.h"
#include "device/HidApiBackend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// --help and --version answer on the terminal before any window system is needed.
bool answeredOnTerminal(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("Usage: %s [--help] [--version]\n"
                        "Configures the ZAV KITE, MOSS and FERN keypad-and-mouse adapters attached to "
                        "this machine.\n"
                        "Without an adapter, try zavora-demo.\n",
                        argv[0]);
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::printf("zavora %s\n", ZAVORA_VERSION);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (answeredOnTerminal(argc, argv)) {
        return 0;
    }
    zav::ZavoraApp app(argc, argv);
    if (!app.InitInstance()) {
        return 0;
    }
    zav::HidApiBackend backend;
    auto* dlg = new zav::MainWindow(backend);
    zav::DeviceWatcher watcher([&backend] { return backend.enumerate(); });
    QObject::connect(&watcher, &zav::DeviceWatcher::deviceChanged, dlg, &zav::MainWindow::onDeviceChange);
    dlg->start(zav::ZavoraApp::systemLangId());
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
