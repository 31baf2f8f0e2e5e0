#include "tests/hidraw/HidrawTestbed.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

// ctest reports exit code 77 as a skip: without umockdev there is no emulated bus to plug into.
int main(int argc, char** argv) {
    const std::string reason = zav::HidrawTestbed::unavailableReason();
    if (!reason.empty()) {
        std::printf("Skipped: %s\n", reason.c_str());
        return 77;
    }
    // The window needs no display, and its pictures come from the source tree unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#ifdef ZAVORA_TEST_RES_DIR
    if (qEnvironmentVariableIsEmpty("ZAVORA_RES_DIR")) {
        qputenv("ZAVORA_RES_DIR", ZAVORA_TEST_RES_DIR);
    }
#endif
    // Every Write keeps a backup: never in the account's own state folder.
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
