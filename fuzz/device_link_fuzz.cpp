// Drives DeviceLink over the simulated adapter while the input plugs, unplugs and sets faults between calls.
// Whatever happens: a read that fails leaves the work page as it was, a bank fetched is the bank the adapter
// holds, and a write reported complete is in the adapter's bank.

#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"
#include "fuzz/FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <functional>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    FuzzedDataProvider in(data, size);
    SimulatedAdapter adapter;
    adapter.setLogging(false);
    DeviceLink link(adapter);
    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        const int n = in.ConsumeIntegralInRange<int>(-1, 40); // a bank (the adapter has 0 to 3), a count
        const bool held = n >= 0 && n < SimulatedAdapter::kModes && adapter.pluggedModel() != 0;
        const std::function<void()> steps[] = {
            [&] { adapter.plug(1 + (n + 1) % 3); },
            [&] { link.OpenAndIdentify(); },
            [&] { link.PollStatus(static_cast<std::uint8_t>(n)); },
            [&] { link.SendCommand(in.ConsumeIntegral<std::uint8_t>(), static_cast<std::uint8_t>(n)); },
            [&] { adapter.refuseCommand(static_cast<std::uint8_t>(cmd::kStatus + (n + 1) % 9)); },
            [&] { adapter.refuseDataChunk(n); },
            [&] { adapter.dropReadChunkReply(n); },
            [&] { adapter.reportWrongSum(true); },
            [&] { adapter.vanishAfterFrames(n); },
            [&] { adapter.refuseOpen(n % 2 == 0); },
            [&] { adapter.setMouse(0x2B7C, static_cast<std::uint16_t>(0x61 + n)); },
            [&] { adapter.clearFaults(); },
            [&] {
                const ProfileImage before = link.workImage(link.model());
                ZAV_FUZZ_CHECK(link.ReadBank(n) || link.workImage(link.model()) == before);
            },
            [&] {
                const auto fetched = link.FetchBank(n);
                ZAV_FUZZ_CHECK(!fetched || !held || *fetched == adapter.bank(adapter.pluggedModel(), n));
            },
            [&] {
                ProfileImage& page = link.sendImage(link.model());
                page.fill(in.ConsumeIntegral<std::uint8_t>());
                page[static_cast<std::size_t>(in.ConsumeIntegralInRange<int>(0, 511))] ^= 0x5A;
                ZAV_FUZZ_CHECK(!link.WriteBank(n) ||
                               (held && adapter.bank(adapter.pluggedModel(), n) == page));
            },
        };
        steps[in.ConsumeIntegralInRange<std::size_t>(0, std::size(steps) - 1)]();
        ZAV_FUZZ_CHECK(link.model() >= 0 && link.model() <= kModelCount);
    }
    return 0;
}
