#include "tests/hidraw/HidrawTestbed.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdio>

// ctest reports exit code 77 as a skip: without umockdev there is no emulated udev to test against.
int main(int argc, char** argv) {
    const std::string reason = zav::HidrawTestbed::unavailableReason();
    if (!reason.empty()) {
        std::printf("Skipped: %s\n", reason.c_str());
        return 77;
    }
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
