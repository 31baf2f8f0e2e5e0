// Building the profile list of a folder that holds 10,000 profiles, as a page does at start and on
// every change of mode.
#include "profiles/ProfileFile.h"
#include "profiles/ProfileLibrary.h"
#include "profiles/ProfileRecord.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kProfiles = 10000;
constexpr int kModel = zav::models::kKite;
constexpr int kModePs4 = 0; // officials are moved to the top of the list
constexpr int kModePc = 2;  // the folder's order is kept

class BenchPage : public zav::LibraryPage {
public:
    int model() const override { return kModel; }
    int mode() const override { return mode_; }
    int slot() const override { return 0; }
    std::span<std::uint8_t> record(int slot) override { return zav::recordAt(work_, kModel, slot); }
    void collect() override {}
    void resetAndShow(int) override {}
    void takeLoadedRecord(int mode, std::span<const std::uint8_t>) override { mode_ = mode; }
    bool connected() const override { return false; }
    void showBlankSlotItem() override {}
    void sendStatus() override {}

    int mode_ = kModePs4;

private:
    zav::ProfileImage work_{};
};

// buildList of a full folder asks nothing; a message would mean the benchmark is not measuring a list.
class SilentPrompter : public zav::Prompter {
public:
    void tell(zav::TextId) override { ++messages; }
    bool ask(zav::TextId) override {
        ++messages;
        return false;
    }
    int messages = 0;
};

fs::path g_documents;

// The eleven officials and "Profile0001" on, as New names them, in the folder of each mode measured.
// One file per folder is saved as the program saves it; the others are copies of it, since a save
// waits for the disk and the list reads names only.
bool fillFolders() {
    std::string pattern = (fs::temp_directory_path() / "zav-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        return false;
    }
    g_documents = pattern;
    BenchPage page;
    zav::ProfileListModel list;
    SilentPrompter prompter;
    zav::ProfileLibrary library(g_documents, page, list, prompter);
    std::vector<std::uint8_t> record(static_cast<std::size_t>(zav::recordSize(kModel)), 0x04);
    for (const int mode : {kModePs4, kModePc}) {
        const fs::path folder = library.modeFolder(mode);
        std::error_code ec;
        fs::create_directories(folder, ec);
        std::vector<std::string> names = zav::ProfileLibrary::officialNames(kModel);
        char name[32];
        for (int n = 1; static_cast<int>(names.size()) < kProfiles; ++n) {
            std::snprintf(name, sizeof name, "Profile%04d", n);
            names.emplace_back(name);
        }
        const auto fileOf = [&](const std::string& name) {
            return folder / (name + std::string(zav::ProfileLibrary::kExtension));
        };
        if (!zav::writeProfileFile(fileOf(names.front()), kModel, record, mode)) {
            return false;
        }
        for (std::size_t i = 1; i < names.size(); ++i) {
            if (!fs::copy_file(fileOf(names.front()), fileOf(names[i]), ec)) {
                return false;
            }
        }
    }
    return true;
}

void BM_BuildList(benchmark::State& state) {
    BenchPage page;
    page.mode_ = static_cast<int>(state.range(0));
    zav::ProfileListModel list;
    SilentPrompter prompter;
    zav::ProfileLibrary library(g_documents, page, list, prompter);
    for (auto _ : state) {
        library.buildList();
        benchmark::DoNotOptimize(list.items().data());
    }
    if (list.count() != kProfiles || prompter.messages != 0 ||
        (page.mode_ == kModePs4 && !library.isOfficial(list.items().front()))) {
        state.SkipWithError("the list does not hold the folder's profiles as expected");
    }
    state.counters["profiles"] = list.count();
}

} // namespace

BENCHMARK(BM_BuildList)->Arg(kModePs4)->Arg(kModePc)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const bool filled = fillFolders();
    if (filled) {
        benchmark::RunSpecifiedBenchmarks();
    } else {
        std::fprintf(stderr, "profile_list_bench: could not create the profile folders\n");
    }
    benchmark::Shutdown();
    std::error_code ec;
    if (!g_documents.empty()) {
        fs::remove_all(g_documents, ec);
    }
    return filled ? 0 : 1;
}
