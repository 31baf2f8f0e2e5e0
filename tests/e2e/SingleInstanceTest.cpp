#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ZavoraApp.h"

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct SingleInstance : ::testing::Test {
    void SetUp() override { ASSERT_EQ(::mkdir(QFile::encodeName(dir.filePath("run")).constData(), 0700), 0); }
    std::unique_ptr<QProcess> launch() {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("HOME"), dir.path());
        process->setProcessEnvironment(env);
        process->start(QStringLiteral(ZAVORA_DEMO_PATH), {QStringLiteral("--model"), QStringLiteral("none")});
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }
    QString lockFile() const { return dir.filePath(QStringLiteral("run/FirstName.lock")); }
    static unsigned modeOf(const QString& path) {
        struct stat info {};
        return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
    }
    bool lockHeld() const { return QFileInfo(lockFile()).size() > 0; }
    QTemporaryDir dir;
};

// A second copy ends silently while the first runs. A lock left by a killed copy, an old empty one, or a
// FIFO in its place (not waited on) is taken over: the next copy still runs a second later.
TEST_F(SingleInstance, one_copy_at_a_time_and_a_lock_left_behind_is_taken_over) {
    auto first = launch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lockHeld(); }, 10000));
    auto second = launch();
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_TRUE(second->exitStatus() == QProcess::NormalExit && second->exitCode() == 0);
    EXPECT_TRUE(second->readAllStandardOutput().isEmpty());
    EXPECT_EQ(first->state(), QProcess::Running);
    ::kill(static_cast<pid_t>(first->processId()), SIGKILL);
    first->waitForFinished(5000);
    ASSERT_TRUE(lockHeld());
    for (const int left : {0, 1, 2}) { // killed, empty, FIFO
        if (left == 1) {
            QFile empty(lockFile());
            ASSERT_TRUE(empty.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ASSERT_TRUE(empty.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                          QFileDevice::FileModificationTime));
        } else if (left == 2) {
            ASSERT_TRUE(QFile::remove(lockFile()));
            ASSERT_EQ(::mkfifo(QFile::encodeName(lockFile()).constData(), 0600), 0);
        }
        // It gets as far as telling where its banks are, and goes on running.
        auto next = launch();
        QByteArray told;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return (told += next->readAllStandardError()).contains("banks in"); }, 10000))
            << left;
        EXPECT_FALSE(next->waitForFinished(1000)) << left;
        next->kill();
        next->waitForFinished(5000);
    }
}

// The lock lives only in a folder of this user's alone (runtime, or made in the shared temporary folder);
// with one open to others or a planted link the program starts without a lock rather than being kept out.
TEST_F(SingleInstance, the_lock_is_kept_only_in_a_folder_of_this_users_own) {
    EXPECT_EQ(zav::ZavoraApp::lockPathIn(dir.filePath(QStringLiteral("run")), dir.path()), lockFile());
    const QString tmp = dir.filePath(QStringLiteral("tmp")), open = dir.filePath(QStringLiteral("open"));
    ASSERT_TRUE(QDir().mkpath(tmp) && QDir().mkpath(open));
    ::chmod(QFile::encodeName(open).constData(), 0777);
    const QString own = tmp + QStringLiteral("/zavora-%1").arg(::geteuid());
    EXPECT_EQ(zav::ZavoraApp::lockPathIn(open, tmp), own + QStringLiteral("/FirstName.lock"));
    EXPECT_EQ(modeOf(own), 0700u);

    const QString planted = dir.filePath(QStringLiteral("planted")),
                  name = planted + QStringLiteral("/zavora-%1").arg(::geteuid());
    ASSERT_TRUE(QDir().mkpath(planted) && QFile::link(own, name));
    EXPECT_EQ(zav::ZavoraApp::lockPathIn(QString(), planted), QString());
    ASSERT_TRUE(QFile::remove(name) && QDir().mkpath(name));
    ::chmod(QFile::encodeName(name).constData(), 0777);
    EXPECT_EQ(zav::ZavoraApp::lockPathIn(QString(), planted), QString());
    EXPECT_EQ(modeOf(name), 0777u);
}

} // namespace
