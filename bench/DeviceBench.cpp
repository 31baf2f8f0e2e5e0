// Bank transfers over the simulated adapter: the link's own cost per frame with an instant
// adapter, the time against the floor of one report per millisecond, and what reading a written
// bank back to check it adds to a write, and what the read and backup before every write add.
#include "device/BackupStore.h"
#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {

constexpr int kWriteFrames = 35;  // u, 32 data frames, v, w
constexpr int kWriteReports = 38; // those and the replies to u, v, w
constexpr int kReadFrames = 18;   // r, 16 s, t
constexpr int kReadReports = 36;  // each answered

struct Rig {
    explicit Rig(std::chrono::microseconds latency) {
        adapter.setLogging(false);
        adapter.plug(1);
        link.OpenAndIdentify();
        adapter.setReportLatency(latency);
        for (std::size_t i = 0; i < link.sendImage(1).size(); ++i) {
            link.sendImage(1)[i] = static_cast<std::uint8_t>(i);
        }
    }
    zav::SimulatedAdapter adapter;
    zav::DeviceLink link{adapter};
};

void perFrame(benchmark::State& state, int frames) {
    state.counters["frames"] = frames;
    state.counters["ns_per_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * frames,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void overFloor(benchmark::State& state, int reports, std::chrono::microseconds latency, double seconds) {
    const double floor = static_cast<double>(state.iterations()) * reports * latency.count() * 1e-6;
    state.counters["floor_ms"] = reports * latency.count() / 1000.0;
    state.counters["over_floor_pct"] = 100.0 * (seconds - floor) / floor;
}

void BM_WriteBank(benchmark::State& state) {
    Rig rig(std::chrono::microseconds(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(rig.link.WriteBank(0));
    }
    perFrame(state, kWriteFrames);
}

void BM_ReadBank(benchmark::State& state) {
    Rig rig(std::chrono::microseconds(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(rig.link.ReadBank(0));
    }
    perFrame(state, kReadFrames);
}

template <bool Write>
void BM_BankAt1ms(benchmark::State& state) {
    const auto latency = std::chrono::microseconds(1000);
    Rig rig(latency);
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(Write ? rig.link.WriteBank(0) : rig.link.ReadBank(0));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        seconds += took.count();
        state.SetIterationTime(took.count());
    }
    overFloor(state, Write ? kWriteReports : kReadReports, latency, seconds);
}

// A write as the page does it: write, read the bank back, compare with what was sent. The two halves
// are timed apart so that the counters say what the check adds to the write alone.
void BM_WriteThenReadBack(benchmark::State& state) {
    const auto latency = std::chrono::microseconds(state.range(0));
    Rig rig(latency);
    double writeSeconds = 0;
    double checkSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool written = rig.link.WriteBank(0);
        const auto between = std::chrono::steady_clock::now();
        const std::optional<zav::ProfileImage> back = rig.link.FetchBank(0);
        const bool same = back && *back == rig.link.sendImage(1);
        const auto end = std::chrono::steady_clock::now();
        if (!written || !same) {
            state.SkipWithError("the bank read back differs from the one written");
            break;
        }
        writeSeconds += std::chrono::duration<double>(between - start).count();
        checkSeconds += std::chrono::duration<double>(end - between).count();
        if (latency.count() > 0) {
            state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        }
    }
    const double n = static_cast<double>(state.iterations());
    if (n == 0) {
        return;
    }
    // Wall-clock halves: microseconds with an instant adapter, milliseconds with a timed one.
    const double scale = latency.count() == 0 ? 1e6 : 1e3;
    const char* unit = latency.count() == 0 ? "us" : "ms";
    state.counters[std::string("write_") + unit] = scale * writeSeconds / n;
    state.counters[std::string("readback_") + unit] = scale * checkSeconds / n;
    state.counters["readback_pct"] = 100.0 * checkSeconds / writeSeconds;
    if (latency.count() == 0) {
        perFrame(state, kWriteFrames + kReadFrames);
    } else {
        overFloor(state, kWriteReports + kReadReports, latency, writeSeconds + checkSeconds);
    }
}

// A scratch backup folder for one benchmark, removed after it.
std::filesystem::path makeScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zav-bench-XXXXXX").string();
    return ::mkdtemp(pattern.data()) != nullptr ? std::filesystem::path(pattern) : std::filesystem::path();
}

struct ScratchStore {
    ~ScratchStore() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    const std::filesystem::path root = makeScratchFolder();
    zav::BackupStore store{root / "backups"};
};

// The page's Write as it was (write, then the check read) against the Write of now, which first reads the
// bank and keeps it as a file. Past the hundredth iteration every backup also prunes the oldest one, as a
// store in steady use does.
template <bool Keeping>
void BM_PageWrite(benchmark::State& state) {
    const auto latency = std::chrono::microseconds(state.range(0));
    Rig rig(latency);
    ScratchStore scratch;
    if (scratch.root.empty()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const zav::ProfileImage image = rig.link.sendImage(1);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const zav::WriteOutcome outcome =
            Keeping ? zav::writeKeepingBackup(rig.link, scratch.store, 1, 0, image, 180)
                    : rig.link.WriteImage(1, 0, image, 180);
        const auto end = std::chrono::steady_clock::now();
        if (outcome != zav::WriteOutcome::Complete) {
            state.SkipWithError("the write did not complete");
            break;
        }
        if (latency.count() > 0) {
            state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        }
    }
    constexpr int kReports = kWriteReports + kReadReports;
    if (latency.count() > 0) {
        state.counters["floor_ms"] =
            (Keeping ? kReports + kReadReports : kReports) * latency.count() / 1000.0;
    }
}

// Keeping one bank as a file alone: the atomic write (with its flush) and the pruning.
void BM_KeepBackupFile(benchmark::State& state) {
    ScratchStore scratch;
    if (scratch.root.empty()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const zav::ProfileImage bank{};
    for (auto _ : state) {
        if (!scratch.store.keep(1, 0, "/dev/hidraw0", bank)) {
            state.SkipWithError("the backup could not be kept");
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_WriteBank);
BENCHMARK(BM_ReadBank);
BENCHMARK(BM_BankAt1ms<true>)
    ->Name("BM_WriteBank_1msPerReport")
    ->UseManualTime()
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BankAt1ms<false>)
    ->Name("BM_ReadBank_1msPerReport")
    ->UseManualTime()
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_WriteThenReadBack)->Name("BM_WriteThenReadBack")->Arg(0);
BENCHMARK(BM_WriteThenReadBack)
    ->Name("BM_WriteThenReadBack_1msPerReport")
    ->Arg(1000)
    ->UseManualTime()
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_PageWrite<false>)->Name("BM_PageWrite")->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageWrite<true>)->Name("BM_PageWriteKeepingBackup")->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageWrite<false>)
    ->Name("BM_PageWrite_1msPerReport")
    ->Arg(1000)
    ->UseManualTime()
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageWrite<true>)
    ->Name("BM_PageWriteKeepingBackup_1msPerReport")
    ->Arg(1000)
    ->UseManualTime()
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeepBackupFile)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
