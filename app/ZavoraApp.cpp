#include "app/ZavoraApp.h"

#include "device/DeviceLogging.h"

#include "controls/Skin.h"
#include "device/SafeFile.h"
#include "text/LangId.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace zav {

namespace {
constexpr qint64 kUnreadableLockMs = 2000;
}

ZavoraApp::ZavoraApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("zavora"));
    setApplicationVersion(QStringLiteral(ZAVORA_VERSION));
    setOrganizationName(QString());
    setQuitOnLastWindowClosed(true);
    // Lets the desktop match the window to its menu entry and icon.
    setDesktopFileName(QStringLiteral("io.github.zavora.Zavora"));
    installDeviceLogging();
}

ZavoraApp::~ZavoraApp() = default;

QString ZavoraApp::lockPathIn(const QString& runtimeDir, const QString& tempDir) {
    const auto privateFolder = [](const QString& dir) {
        return !dir.isEmpty() && makePrivateFolder(std::filesystem::path(dir.toStdString()));
    };
    QString dir = runtimeDir;
    if (!privateFolder(dir)) {
        // The temporary folder is shared: another user could plant a lock there and keep this one out.
        dir = tempDir.isEmpty() ? QString()
                                : QDir(tempDir).filePath(QStringLiteral("zavora-%1").arg(userNumber()));
        if (!privateFolder(dir)) {
            return {};
        }
    }
    return QDir(dir).filePath(QStringLiteral("FirstName.lock"));
}

QString ZavoraApp::lockPath() {
    return lockPathIn(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), QDir::tempPath());
}

bool ZavoraApp::InitInstance() {
    const QString path = lockPath();
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path.toStdString(), ec);
    // Only a regular file is a lock: a FIFO or anything else at that name is never opened, let alone
    // waited on. As when no lock can be made at all, this copy starts as the first.
    if (path.isEmpty() || (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))) {
        installFontSubstitutions();
        return true;
    }
    lock_ = std::make_unique<QLockFile>(path);
    // Only a lock whose process is gone counts as stale, however old it is.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        if (lock_->error() != QLockFile::LockFailedError) {
            // The lock cannot be made at all: start as the first copy.
            installFontSubstitutions();
            return true;
        }
        // A copy killed while it wrote its lock leaves a file that names no process. Once it is
        // older than any copy needs to write it, it is taken over like any other stale lock.
        qint64 pid = 0;
        QString host;
        QString app;
        const QFileInfo file(path);
        if (lock_->getLockInfo(&pid, &host, &app) ||
            file.lastModified().msecsTo(QDateTime::currentDateTime()) < kUnreadableLockMs ||
            !lock_->removeStaleLockFile() || !lock_->tryLock(0)) {
            return false;
        }
    }
    installFontSubstitutions();
    return true;
}

int ZavoraApp::langIdForLocale(const QLocale& locale) {
    const QString name = locale.name(); // "fr_CA"
    const QString language = name.section(QLatin1Char('_'), 0, 0);
    const QString territory = QLocale::territoryToCode(locale.territory());
    const QString script = locale.script() == QLocale::TraditionalChineseScript  ? QStringLiteral("Hant")
                           : locale.script() == QLocale::SimplifiedChineseScript ? QStringLiteral("Hans")
                                                                                 : QString();
    return windowsLangId(language.toStdString(), territory.toStdString(), script.toStdString());
}

int ZavoraApp::systemLangId() {
    return langIdForLocale(QLocale::system());
}

} // namespace zav
