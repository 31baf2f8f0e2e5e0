// Drives DeviceLink over the simulated adapter while the input plugs, unplugs and sets faults between
// calls. Whatever happens: a read that fails leaves the work page as it was, a bank fetched is the
// bank the adapter holds, and a write reported complete is in the adapter's bank.

#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"
#include "fuzz/FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

void setFault(zav::SimulatedAdapter& adapter, FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0:
        adapter.refuseCommand(in.ConsumeIntegralInRange<std::uint8_t>(0x71, 0x79));
        break;
    case 1:
        adapter.refuseDataChunk(in.ConsumeIntegralInRange<int>(0, 31));
        break;
    case 2:
        adapter.dropReadChunkReply(in.ConsumeIntegralInRange<int>(0, 15));
        break;
    case 3:
        adapter.reportWrongSum(true);
        break;
    case 4:
        adapter.vanishAfterFrames(in.ConsumeIntegralInRange<int>(0, 40));
        break;
    case 5:
        adapter.refuseOpen(in.ConsumeBool());
        break;
    case 6:
        adapter.setMouse(in.ConsumeIntegral<std::uint16_t>(), in.ConsumeIntegral<std::uint16_t>());
        break;
    default:
        adapter.clearFaults();
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    FuzzedDataProvider in(data, size);
    SimulatedAdapter adapter;
    adapter.setLogging(false);
    DeviceLink link(adapter);
    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        const int bank = in.ConsumeIntegralInRange<int>(-1, 4); // the adapter has banks 0 to 3
        const bool held = bank >= 0 && bank < SimulatedAdapter::kModes && adapter.pluggedModel() != 0;
        switch (in.ConsumeIntegralInRange<int>(0, 7)) {
        case 0:
            adapter.plug(in.ConsumeIntegralInRange<int>(1, 3));
            break;
        case 1:
            link.OpenAndIdentify();
            break;
        case 2:
            setFault(adapter, in);
            break;
        case 3: {
            const ProfileImage before = link.workImage(link.model());
            if (!link.ReadBank(bank)) {
                ZAV_FUZZ_CHECK(link.workImage(link.model()) == before);
            }
            break;
        }
        case 4: {
            const auto fetched = link.FetchBank(bank);
            ZAV_FUZZ_CHECK(!fetched || !held || *fetched == adapter.bank(adapter.pluggedModel(), bank));
            break;
        }
        case 5: {
            ProfileImage& page = link.sendImage(link.model());
            const auto seed = in.ConsumeIntegral<std::uint8_t>();
            for (std::size_t i = 0; i < page.size(); ++i) {
                page[i] = static_cast<std::uint8_t>(i * 7 + seed);
            }
            if (link.WriteBank(bank)) {
                ZAV_FUZZ_CHECK(held && adapter.bank(adapter.pluggedModel(), bank) == page);
            }
            break;
        }
        case 6:
            link.PollStatus(in.ConsumeIntegral<std::uint8_t>());
            break;
        default:
            link.SendCommand(in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegral<std::uint8_t>());
            break;
        }
        ZAV_FUZZ_CHECK(link.model() >= 0 && link.model() <= kModelCount);
    }
    return 0;
}
