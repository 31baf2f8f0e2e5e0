#include "tests/hidraw/HidrawTestbed.h"

#ifdef ZAVORA_HIDRAW_QT
#include <QApplication>
#include <QTemporaryDir>
#endif

#include <gtest/gtest.h>

#include <cstdio>

// ctest reports exit code 77 as a skip: without umockdev there is no emulated bus to test against.
int main(int argc, char** argv) {
    const std::string reason = zav::HidrawTestbed::unavailableReason();
    if (!reason.empty()) {
        std::printf("Skipped: %s\n", reason.c_str());
        return 77;
    }
#ifdef ZAVORA_HIDRAW_QT
    // Pictures from the source tree; backups out of the account's own state folder.
    if (qEnvironmentVariableIsEmpty("ZAVORA_RES_DIR")) {
        qputenv("ZAVORA_RES_DIR", ZAVORA_TEST_RES_DIR);
    }
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    QApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
