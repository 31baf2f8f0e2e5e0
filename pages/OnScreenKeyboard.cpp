#include "pages/OnScreenKeyboard.h"

#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#endif

namespace zav {

QStringList onScreenKeyboardCandidates() {
    return {QStringLiteral("onboard"), QStringLiteral("florence"), QStringLiteral("matchbox-keyboard")};
}

QString findOnScreenKeyboard(const QStringList& searchPaths) {
    // The order of the candidates wins over the order of the folders.
    for (const QString& name : onScreenKeyboardCandidates()) {
        const QString path = QStandardPaths::findExecutable(name, searchPaths);
        if (!path.isEmpty()) {
            return path;
        }
    }
    return {};
}

bool startOnScreenKeyboard(const QStringList& searchPaths, const ProgramStarter& start) {
    const QString program = findOnScreenKeyboard(searchPaths);
    return !program.isEmpty() && start(program);
}

bool startOnScreenKeyboard() {
#ifdef Q_OS_WIN
    // Through the shell with the open verb: osk.exe asks for UI access, which a plain process
    // start is refused without elevation. A 64-bit program sees the real System32, so no
    // file-system redirection has to be switched off around it.
    const QString system32 = qEnvironmentVariable("SystemRoot", QStringLiteral("C:/Windows")) +
                             QStringLiteral("/System32/osk.exe");
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::fromNativeSeparators(system32)));
#else
    return startOnScreenKeyboard({},
                                 [](const QString& program) { return QProcess::startDetached(program, {}); });
#endif
}

} // namespace zav
