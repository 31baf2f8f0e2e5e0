// zavora-cli: the adapter from the command line, without a window.
#include "cli/CliTool.h"
#include "device/BackupStore.h"
#include "device/HidApiBackend.h"

#include "device/SafeFile.h"

#include <signal.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

// The window keeps FirstName.lock in the runtime folder while it runs, holding its process id and its
// name; the demo's names zavora-demo and uses no real adapter.
bool windowRunning() {
    std::vector<std::filesystem::path> places;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && runtime[0] == '/') {
        places.push_back(std::filesystem::path(runtime) / "FirstName.lock");
    }
    std::error_code ec;
    places.push_back(std::filesystem::temp_directory_path(ec) /
                     ("zavora-" + std::to_string(zav::userNumber())) / "FirstName.lock");
    for (const auto& place : places) {
        const auto bytes = zav::readRegularFile(place, 256, zav::FollowLink::No);
        if (!bytes) {
            continue;
        }
        const std::string text(bytes->begin(), bytes->end());
        const std::size_t end = text.find('\n');
        const std::string name =
            end == std::string::npos ? "" : text.substr(end + 1, text.find('\n', end + 1) - end - 1);
        const long pid = std::strtol(text.c_str(), nullptr, 10);
        if (name == "zavora" && pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM)) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const zav::CliEnvironment env{
        [] { return std::make_unique<zav::HidApiBackend>(); },
        windowRunning,
        zav::defaultSimulatedBankFile(),
        zav::defaultBackupFolder(),
        std::cout,
        std::cerr,
    };
    return zav::runCli(args, env);
}
