#pragma once

#include "device/HidBackend.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace zav {

// Exit status of zavora-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // explained on standard error
inline constexpr int kExitUsage = 2;

// Where the tool finds its adapters and keeps its files; main() fills it from the system, tests from
// their scratch folders.
struct CliEnvironment {
    // The HID backend for real adapters; called only when the command needs one.
    std::function<std::unique_ptr<HidBackend>()> hidBackend;
    // True while the Zavora window runs: it polls the adapter, and frames of two programs must not
    // interleave, so the tool then leaves real adapters alone.
    std::function<bool()> windowRunning;
    // The demo's simulated adapter: its bank file.
    std::filesystem::path simulatedBankFile;
    std::filesystem::path backupFolder;
    std::ostream& out;
    std::ostream& err;
};

// Runs one command line (without the program name) and returns its exit status.
int runCli(const std::vector<std::string>& args, const CliEnvironment& env);

// The demo's bank file: $XDG_DATA_HOME/zavora-demo/simulated-adapter.bin, or below ~/.local/share.
std::filesystem::path defaultSimulatedBankFile();

} // namespace zav
