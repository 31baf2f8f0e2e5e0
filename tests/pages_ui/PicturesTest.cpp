#include "pages/Pictures.h"
#include "pages/AssignmentPage.h"

#include <QSet>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace zav {
namespace {

// Each picture is decoded once, whichever thread gets to it first; the others get the same data.
TEST(Pictures, a_preloaded_picture_is_decoded_once_and_shared_with_the_window) {
    const QStringList names = AssignmentPage::pictureNames(3);
    ASSERT_GE(names.size(), 6);
    std::atomic<bool> firstRan{false};
    QHash<QString, qint64> keys;
    {
        PicturePreloader preloader(names, [&] { firstRan = true; });
        // Meanwhile the window asks for the same pictures, from the other end of the list.
        for (auto it = names.crbegin(); it != names.crend(); ++it) {
            const QImage image = loadPicture(*it);
            ASSERT_FALSE(image.isNull()) << it->toStdString();
            EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
            keys.insert(*it, image.cacheKey());
        }
    }
    EXPECT_TRUE(firstRan);
    for (const QString& name : names) {
        EXPECT_EQ(loadPicture(name).cacheKey(), keys.value(name)) << name.toStdString();
    }
}

TEST(Pictures, many_threads_asking_at_once_get_one_decoding) {
    const QString name = AssignmentPage::pictureNames(2).last();
    std::vector<qint64> keys(6);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        threads.emplace_back([&keys, i, name] { keys[i] = loadPicture(name).cacheKey(); });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    EXPECT_EQ(QSet<qint64>(keys.begin(), keys.end()).size(), 1);
    EXPECT_EQ(loadPicture(name).cacheKey(), keys.front());
}

TEST(Pictures, a_missing_picture_is_null_and_asked_again_does_not_wait) {
    const QString missing = QStringLiteral("no_such_picture.png");
    { PicturePreloader preloader({missing}); }
    EXPECT_TRUE(loadPicture(missing).isNull());
    EXPECT_TRUE(loadPicture(missing).isNull());
}

} // namespace
} // namespace zav
