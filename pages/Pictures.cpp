#include "pages/Pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace zav {

QString picturePath(const QString& name) {
    const QDir program(QCoreApplication::applicationDirPath());
    QStringList candidates = {
        program.filePath(QStringLiteral("res/") + name),
        program.filePath(QStringLiteral("../share/zavora/res/") + name),
    };
    // Tests and uninstalled builds may point elsewhere.
    if (const QByteArray dir = qgetenv("ZAVORA_RES_DIR"); !dir.isEmpty()) {
        candidates.prepend(QDir(QString::fromLocal8Bit(dir)).filePath(name));
    }
    for (const QString& path : candidates) {
        if (QFileInfo::exists(path)) {
            return path;
        }
    }
    return candidates.front();
}

QImage loadPicture(const QString& name) {
    // The pages share most pictures: each is decoded once and then shared (QImage copies share data).
    static QHash<QString, QImage> decoded;
    if (const auto it = decoded.constFind(name); it != decoded.constEnd()) {
        return *it;
    }
    QImage image(picturePath(name));
    if (!image.isNull()) {
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    decoded.insert(name, image);
    return image;
}

} // namespace zav
