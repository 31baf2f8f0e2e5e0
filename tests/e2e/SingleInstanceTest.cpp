#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

namespace {

struct SingleInstance : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath(QStringLiteral("run"));
        QFile::setPermissions(dir.filePath(QStringLiteral("run")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
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
    // The first copy holds the lock once it has written its process into it.
    bool lockHeld() const { return QFileInfo(lockFile()).size() > 0; }
    QTemporaryDir dir;
};

TEST_F(SingleInstance, second_copy_ends_silently_while_the_first_runs) {
    auto first = launch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lockHeld(); }, 10000));
    auto second = launch();
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(second->readAllStandardOutput().isEmpty());
    EXPECT_EQ(first->state(), QProcess::Running);
    first->terminate();
    first->waitForFinished(5000);
}

TEST_F(SingleInstance, lock_of_a_crashed_copy_is_taken_over) {
    auto first = launch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lockHeld(); }, 10000));
    ::kill(static_cast<pid_t>(first->processId()), SIGKILL);
    first->waitForFinished(5000);
    ASSERT_TRUE(lockHeld()); // left behind
    auto next = launch();
    // Still running more than a second later: it took the lock over instead of ending.
    EXPECT_FALSE(next->waitForFinished(1500));
    EXPECT_EQ(next->state(), QProcess::Running);
    next->kill();
    next->waitForFinished(5000);
}

TEST_F(SingleInstance, an_old_lock_that_names_no_process_is_taken_over) {
    // What a copy killed while writing its lock leaves behind.
    {
        QFile empty(lockFile());
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    }
    const QDateTime old = QDateTime::currentDateTime().addSecs(-60);
    {
        QFile touch(lockFile());
        ASSERT_TRUE(touch.open(QIODevice::ReadWrite));
        ASSERT_TRUE(touch.setFileTime(old, QFileDevice::FileModificationTime));
    }
    auto next = launch();
    EXPECT_FALSE(next->waitForFinished(1500));
    EXPECT_EQ(next->state(), QProcess::Running);
    next->kill();
    next->waitForFinished(5000);
}

} // namespace
