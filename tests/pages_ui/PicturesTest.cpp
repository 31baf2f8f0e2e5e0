#include "pages/Pictures.h"
#include "pages/AssignmentPage.h"

#include <QSet>
#include <gtest/gtest.h>

#include <thread>

namespace zav {
namespace {

// Each picture is decoded once, whichever thread gets to it first: preloader, window, or many at once.
TEST(Pictures, a_picture_is_decoded_once_and_shared_by_every_thread) {
    const QStringList names = AssignmentPage::pictureNames(3);
    ASSERT_GE(names.size(), 6);
    QHash<QString, qint64> keys;
    {
        PicturePreloader preloader(names);
        for (auto it = names.crbegin(); it != names.crend(); ++it) {
            const QImage image = loadPicture(*it);
            ASSERT_FALSE(image.isNull()) << it->toStdString();
            keys.insert(*it, image.cacheKey());
        }
    }
    for (const QString& name : names) {
        EXPECT_EQ(loadPicture(name).cacheKey(), keys.value(name)) << name.toStdString();
    }
    const QString name = AssignmentPage::pictureNames(2).last();
    std::vector<qint64> shared(6);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < shared.size(); ++i) {
        threads.emplace_back([&shared, i, name] { shared[i] = loadPicture(name).cacheKey(); });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    EXPECT_EQ(QSet<qint64>(shared.begin(), shared.end()).size(), 1);
    // A missing picture is null, and asked again does not wait.
    { PicturePreloader preloader({QStringLiteral("no_such_picture.png")}); }
    EXPECT_TRUE(loadPicture(QStringLiteral("no_such_picture.png")).isNull());
}

} // namespace
} // namespace zav
