#include "app/CZavoraApp.h"

#include "app/DeviceLogging.h"

#include "app/LangId.h"
#include "controls/Skin.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zav {

namespace {
constexpr qint64 kUnreadableLockMs = 2000;
}

CZavoraApp::CZavoraApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("zavora"));
    setOrganizationName(QString());
    setQuitOnLastWindowClosed(true);
    // Lets the desktop match the window to its menu entry and icon.
    setDesktopFileName(QStringLiteral("io.github.zavora.Zavora"));
    installDeviceLogging();
}

CZavoraApp::~CZavoraApp() = default;

QString CZavoraApp::lockPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) {
        dir = QDir::tempPath();
    }
    return QDir(dir).filePath(QStringLiteral("FirstName.lock"));
}

bool CZavoraApp::InitInstance() {
    lock_ = std::make_unique<QLockFile>(lockPath());
    // Only a lock whose process is gone counts as stale, however old it is.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        if (lock_->error() != QLockFile::LockFailedError) {
            // The lock cannot be made at all (no runtime folder): start as the first copy.
            installFontSubstitutions();
            return true;
        }
        // A copy killed while it wrote its lock leaves a file that names no process. Once it is
        // older than any copy needs to write it, it is taken over like any other stale lock.
        qint64 pid = 0;
        QString host;
        QString app;
        const QFileInfo file(lockPath());
        if (lock_->getLockInfo(&pid, &host, &app) ||
            file.lastModified().msecsTo(QDateTime::currentDateTime()) < kUnreadableLockMs ||
            !lock_->removeStaleLockFile() || !lock_->tryLock(0)) {
            return false;
        }
    }
    installFontSubstitutions();
    return true;
}

int CZavoraApp::langIdForLocale(const QLocale& locale) {
    const QString name = locale.name(); // "fr_CA"
    const QString language = name.section(QLatin1Char('_'), 0, 0);
    const QString territory = QLocale::territoryToCode(locale.territory());
    const QString script = locale.script() == QLocale::TraditionalChineseScript  ? QStringLiteral("Hant")
                           : locale.script() == QLocale::SimplifiedChineseScript ? QStringLiteral("Hans")
                                                                                 : QString();
    return windowsLangId(language.toStdString(), territory.toStdString(), script.toStdString());
}

int CZavoraApp::systemLangId() {
    return langIdForLocale(QLocale::system());
}

} // namespace zav
