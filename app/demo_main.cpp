// zavora-demo: the program over a simulated adapter, so every feature can be tried without one.
#include "app/MainWindow.h"
#include "app/SimulatorWindow.h"
#include "app/ZavoraApp.h"
#include "device/BankFile.h"
#include "device/SimulatedAdapter.h"
#include "profiles/AdapterBanks.h"

#include <QCommandLineParser>
#include <QDir>
#include <QEvent>
#include <QScreen>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>

namespace {

int modelFromName(const QString& name) {
    if (name == QLatin1String("kite")) {
        return 1;
    }
    if (name == QLatin1String("moss")) {
        return 2;
    }
    if (name == QLatin1String("fern")) {
        return 3;
    }
    return name == QLatin1String("none") ? 0 : -1;
}

// Runs `then` once, right after the first paint of the watched window, ahead of any work queued
// before at a lower priority.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QObject* parent, Qt::EventPriority priority, std::function<void()> then)
        : QObject(parent), priority_(priority), then_(std::move(then)) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !posted_) {
            posted_ = true;
            QCoreApplication::postEvent(this, new QEvent(QEvent::User), priority_);
        }
        return false;
    }

protected:
    void customEvent(QEvent*) override { then_(); }

private:
    Qt::EventPriority priority_;
    std::function<void()> then_;
    bool posted_ = false;
};

} // namespace

int main(int argc, char** argv) {
    zav::ZavoraApp app(argc, argv);
    app.setApplicationName(QStringLiteral("zavora-demo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Zavora over a simulated adapter"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption modelOption(QStringLiteral("model"), QStringLiteral("kite, moss, fern or none"),
                                         QStringLiteral("model"), QStringLiteral("kite"));
    const QCommandLineOption mouseOption(QStringLiteral("mouse"), QStringLiteral("none, ordinary or own"),
                                         QStringLiteral("mouse"), QStringLiteral("none"));
    const QCommandLineOption capabilityOption(QStringLiteral("capability"),
                                              QStringLiteral("capability byte of the status reply (0..255)"),
                                              QStringLiteral("N"), QStringLiteral("0"));
    parser.addOptions({modelOption, mouseOption, capabilityOption});
    parser.process(app);

    const int model = modelFromName(parser.value(modelOption));
    const QString mouseName = parser.value(mouseOption);
    bool capabilityOk = false;
    const int capability = parser.value(capabilityOption).toInt(&capabilityOk);
    if (model < 0 || (mouseName != QLatin1String("none") && mouseName != QLatin1String("ordinary") &&
                      mouseName != QLatin1String("own"))) {
        std::fprintf(stderr, "zavora-demo: unknown model or mouse; see --help\n");
        return 2;
    }
    if (!capabilityOk || capability < 0 || capability > 255) {
        std::fprintf(stderr, "zavora-demo: --capability takes 0..255\n");
        return 2;
    }
    if (!app.InitInstance()) {
        return 0;
    }

    // The adapter's flash lives in a file, so a restart shows what was written.
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataDir);
    const std::filesystem::path bankFile =
        QDir(dataDir).filePath(QStringLiteral("simulated-adapter.bin")).toStdString();
    zav::SimulatedAdapter adapter;
    zav::SimulatedAdapter::Banks banks = zav::freshAdapterBanks();
    zav::loadBankFile(bankFile, banks);
    adapter.setBanks(banks);
    // A write that cannot be kept in the file is refused, as a flash that fails to program would be.
    adapter.setCommitListener(
        [bankFile](const zav::SimulatedAdapter::Banks& now) { return zav::saveBankFile(bankFile, now); });

    const auto mouse = mouseName == QLatin1String("own")        ? zav::SimulatorWindow::Mouse::Own
                       : mouseName == QLatin1String("ordinary") ? zav::SimulatorWindow::Mouse::Ordinary
                                                                : zav::SimulatorWindow::Mouse::None;
    zav::SimulatorWindow::applyMouse(adapter, mouse);
    adapter.setCapability(static_cast<std::uint8_t>(capability));
    if (model != 0) {
        adapter.plug(model);
    }

    auto* dlg = new zav::MainWindow(adapter);
    // The simulator's window opens once the program's window is up, so that the program starts
    // as it would without it.
    std::unique_ptr<zav::SimulatorWindow> simulator;
    dlg->installEventFilter(new AfterFirstPaint(dlg, Qt::NormalEventPriority, [&] {
        simulator = std::make_unique<zav::SimulatorWindow>(adapter, model, mouse, capability);
        // An adapter plugged in holds what its flash holds: zavora-cli --simulated may have written the
        // bank file while it was out.
        QObject::connect(simulator.get(), &zav::SimulatorWindow::deviceChanged, dlg, [&adapter, bankFile] {
            zav::SimulatedAdapter::Banks now = adapter.banks();
            if (adapter.pluggedModel() != 0 && zav::loadBankFile(bankFile, now)) {
                adapter.setBanks(now);
            }
        });
        // Plugging and pulling in the simulator adds or removes the adapter's node.
        QObject::connect(simulator.get(), &zav::SimulatorWindow::deviceChanged, dlg,
                         [dlg] { dlg->onDeviceChange(true); });
        // Shown first so that its frame, if the desktop draws one, counts in its size.
        simulator->show();
        const QRect screen = dlg->screen()->availableGeometry();
        simulator->move(zav::SimulatorWindow::placeBeside(dlg->frameGeometry(),
                                                          simulator->frameGeometry().size(), screen));
    }));
    if (qEnvironmentVariableIsSet("ZAVORA_EXIT_AFTER_FIRST_PAINT")) {
        // For start-up measurements: the process ends once its first frame is handed over, before
        // the replies of its connect pass or anything else that was queued meanwhile.
        dlg->installEventFilter(new AfterFirstPaint(dlg, Qt::HighEventPriority, [] { std::_Exit(0); }));
    }
    std::fprintf(stderr, "zavora-demo: simulated adapter banks in %s\n", bankFile.c_str());

    dlg->start(zav::ZavoraApp::systemLangId());
    // Not modal: the demo's simulator window must take input beside it.
    QObject::connect(dlg, &QDialog::finished, &app, &QApplication::quit);
    dlg->show();
    const int result = app.exec();
    if (simulator) {
        simulator->close();
    }
    if (!dlg->stoppedCleanly()) {
        std::_Exit(result);
    }
    delete dlg;
    return 0;
}
