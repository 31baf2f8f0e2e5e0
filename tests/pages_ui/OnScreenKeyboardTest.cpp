#include "pages/OnScreenKeyboard.h"

#include "controls/QtText.h"
#include "text/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
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

TEST(OnScreenKeyboard, the_preferred_runnable_keyboard_is_started_and_a_failed_start_told) {
    QTemporaryDir first, second;
    addProgram(first.path(), "matchbox-keyboard");
    EXPECT_EQ(findOnScreenKeyboard({first.path(), second.path()}), first.filePath("matchbox-keyboard"));
    addProgram(second.path(), "florence");
    addProgram(first.path(), "onboard", false);
    EXPECT_EQ(findOnScreenKeyboard({first.path(), second.path()}), second.filePath("florence"));
    QStringList started;
    EXPECT_FALSE(startOnScreenKeyboard({second.path()}, [&](const QString& program) {
        started << program;
        return false;
    }));
    EXPECT_EQ(started, QStringList{second.filePath("florence")});
    // The message shown without one names every candidate, in every language.
    for (int language = 0; language < kLanguageCount; ++language) {
        for (const QString& name : onScreenKeyboardCandidates()) {
            EXPECT_TRUE(qstr(text(TextId::NoOnScreenKeyboard, language)).contains(name)) << language;
        }
    }
    // On the path, the desktop's keyboard is started without waiting for it to end.
    QTemporaryDir folder;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(folder.path()));
    EXPECT_FALSE(startOnScreenKeyboard());
    const QString onboard = addProgram(folder.path(), "onboard");
    EXPECT_TRUE(startOnScreenKeyboard());
    qputenv("PATH", path);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(onboard + ".started"); }, 10000));
}

} // namespace
} // namespace zav
