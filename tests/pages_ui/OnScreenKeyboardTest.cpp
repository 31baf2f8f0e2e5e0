#include "pages/OnScreenKeyboard.h"

#include "controls/QtText.h"
#include "text/Texts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace zav {
namespace {

// A stand-in keyboard program that only leaves "<its path>.started" behind.
QString addProgram(const QString& folder, const QString& name, bool executable = true) {
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n: > \"$0.started\"\n");
    file.close();
    EXPECT_TRUE(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    (executable ? QFileDevice::ExeOwner : QFileDevice::Permissions())));
    return path;
}

// Records what would have been started instead of starting it, and answers `result`.
ProgramStarter recorder(QStringList& started, bool result) {
    return [&started, result](const QString& program) {
        started.append(program);
        return result;
    };
}

// Points PATH at one folder for the life of the object.
class PathOverride {
public:
    explicit PathOverride(const QString& folder) : saved_(qgetenv("PATH")) {
        qputenv("PATH", QFile::encodeName(folder));
    }
    ~PathOverride() { qputenv("PATH", saved_); }
    PathOverride(const PathOverride&) = delete;
    PathOverride& operator=(const PathOverride&) = delete;

private:
    QByteArray saved_;
};

TEST(OnScreenKeyboard, empty_folder_finds_nothing_and_starts_nothing) {
    QTemporaryDir folder;
    QStringList started;
    EXPECT_FALSE(startOnScreenKeyboard({folder.path()}, recorder(started, true)));
    EXPECT_TRUE(started.isEmpty());
}

TEST(OnScreenKeyboard, preferred_keyboard_wins_over_folder_order_and_unrunnable_files) {
    QTemporaryDir first;
    QTemporaryDir second;
    addProgram(first.path(), "matchbox-keyboard");
    EXPECT_EQ(findOnScreenKeyboard({first.path(), second.path()}), first.filePath("matchbox-keyboard"));
    const QString florence = addProgram(second.path(), "florence");
    addProgram(first.path(), "onboard", false);
    EXPECT_EQ(findOnScreenKeyboard({first.path(), second.path()}), florence);
    const QString onboard = addProgram(second.path(), "onboard");
    EXPECT_EQ(findOnScreenKeyboard({first.path(), second.path()}), onboard);
}

TEST(OnScreenKeyboard, found_keyboard_is_started_by_its_path_and_its_failure_reported) {
    QTemporaryDir folder;
    const QString florence = addProgram(folder.path(), "florence");
    QStringList started;
    EXPECT_FALSE(startOnScreenKeyboard({folder.path()}, recorder(started, false)));
    EXPECT_EQ(started, QStringList{florence});
}

TEST(OnScreenKeyboard, desktop_keyboard_is_found_on_the_path_and_not_waited_for) {
#ifdef Q_OS_WIN
    GTEST_SKIP() << "Windows starts its own on-screen keyboard";
#endif
    QTemporaryDir folder;
    const PathOverride path(folder.path());
    EXPECT_FALSE(startOnScreenKeyboard());
    const QString onboard = addProgram(folder.path(), "onboard");
    EXPECT_EQ(findOnScreenKeyboard(), onboard);
    ASSERT_TRUE(startOnScreenKeyboard());
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(onboard + ".started") && timer.elapsed() < 10000) {
        QThread::msleep(20);
    }
    EXPECT_TRUE(QFileInfo::exists(onboard + ".started"));
}

TEST(OnScreenKeyboard, the_message_without_one_names_every_candidate_in_every_language) {
    for (int language = 0; language < kLanguageCount; ++language) {
        const QString message = qstr(text(TextId::NoOnScreenKeyboard, language));
        for (const QString& name : onScreenKeyboardCandidates()) {
            EXPECT_TRUE(message.contains(name))
                << "language " << language << " leaves out " << name.toStdString();
        }
    }
}

} // namespace
} // namespace zav
