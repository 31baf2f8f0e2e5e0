// zavora-cli: the adapter from the command line, without a window.
#include "cli/CliTool.h"
#include "device/BackupStore.h"
#include "device/HidApiBackend.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const zav::CliEnvironment env{
        [] { return std::make_unique<zav::HidApiBackend>(); },
        zav::defaultSimulatedBankFile(),
        zav::defaultBackupFolder(),
        std::cout,
        std::cerr,
    };
    return zav::runCli(args, env);
}
