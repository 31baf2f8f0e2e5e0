// Bank transfers over the simulated adapter: the link's own cost per frame with an instant
// adapter, the time against the floor of one report per millisecond, and what reading a written
// bank back to check it adds to a write.
#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"

#include <benchmark/benchmark.h>

#include <chrono>
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

BENCHMARK_MAIN();
