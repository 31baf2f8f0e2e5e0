// The input is a model, a mode and a record. Showing the record on the page and collecting the page
// again is refused for a record of the wrong size and leaves it alone; otherwise a second round trip
// changes nothing more.

#include "fuzz/FuzzCheck.h"
#include "pages/PageRecord.h"
#include "profiles/ProfileRecord.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    if (size < 2) {
        return 0;
    }
    const int model = data[0] % 5; // 0 and 4 name no model
    const int mode = data[1] % 4;
    const StickSelector selector = (data[1] & 0x80) != 0 ? StickSelector::LStick : StickSelector::DPad;
    const std::vector<std::uint8_t> record(data + 2, data + size);
    const bool fits = recordSize(model) > 0 && record.size() == static_cast<std::size_t>(recordSize(model));

    std::vector<std::uint8_t> collected = record;
    const SlotLabels labels = showRecord(model, mode, record, selector);
    ZAV_FUZZ_CHECK(collectPage(model, mode, labels, collected, fits && mossSwitchOn(record)) == fits);
    if (!fits) {
        ZAV_FUZZ_CHECK(collected == record);
        return 0;
    }
    std::vector<std::uint8_t> again = collected;
    ZAV_FUZZ_CHECK(collectPage(model, mode, showRecord(model, mode, collected, selector), again,
                               mossSwitchOn(collected)));
    ZAV_FUZZ_CHECK(again == collected);
    return 0;
}
