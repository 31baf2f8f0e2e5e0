#include "pages/Pictures.h"

#include "controls/Skin.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace zav {

namespace {

struct PictureCache {
    std::mutex mutex;
    std::condition_variable decoded;
    // No value yet: the picture is being decoded by some thread.
    QHash<QString, std::optional<QImage>> pictures;
};

PictureCache& cache() {
    static PictureCache instance;
    return instance;
}

// `path` is only asked for when this call is the one that decodes.
template <typename PathFn>
QImage decodeOnce(const QString& name, PathFn path) {
    PictureCache& c = cache();
    std::unique_lock lock(c.mutex);
    for (;;) {
        const auto it = c.pictures.constFind(name);
        if (it == c.pictures.constEnd()) {
            break;
        }
        if (it->has_value()) {
            return **it;
        }
        c.decoded.wait(lock);
    }
    c.pictures.insert(name, std::nullopt);
    lock.unlock();

    const QString file = path();
    QImage image(file);
    if (!image.isNull()) {
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        // Drawn into the same rectangle as its plain twin, one device pixel to each of its pixels.
        if (QFileInfo(file).completeBaseName().endsWith(QLatin1String("@2x"))) {
            image.setDevicePixelRatio(2.0);
        }
    }

    lock.lock();
    c.pictures.insert(name, image);
    c.decoded.notify_all();
    return image;
}

} // namespace

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

QString shownPicturePath(const QString& name) {
    // A screen of more than one device pixel per pixel gets the picture drawn for twice the density.
    if (denseScreens() && name.endsWith(QLatin1String(".png"))) {
        const QString dense = picturePath(name.chopped(4) + QStringLiteral("@2x.png"));
        if (QFileInfo::exists(dense)) {
            return dense;
        }
    }
    return picturePath(name);
}

QImage loadPicture(const QString& name) {
    return decodeOnce(name, [&name] { return shownPicturePath(name); });
}

PicturePreloader::PicturePreloader(const QStringList& names, std::function<void()> first) {
    // The application's folder is looked up here: that lookup belongs to the GUI thread.
    std::vector<std::pair<QString, QString>> pictures;
    pictures.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) {
        pictures.emplace_back(name, shownPicturePath(name));
    }
    thread_ = std::thread([pictures = std::move(pictures), first = std::move(first)] {
        if (first) {
            first();
        }
        for (const auto& [name, path] : pictures) {
            decodeOnce(name, [&path] { return path; });
        }
    });
}

PicturePreloader::~PicturePreloader() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

} // namespace zav
