// The input is a profile file as it lies on disk. Every model loads it without writing past the
// record; what a model loads, saved and loaded again, is the same record and mode.

#include "fuzz/FuzzCheck.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileRecord.h"
#include "tests/ScratchFolder.h"

#include <algorithm>
#include <fstream>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    static const test::ScratchFolder scratch;
    const auto input = scratch / "input.zav4";
    const auto saved = scratch / "saved.zav4";
    std::ofstream(input, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    for (int model = models::kKite; model <= models::kFern; ++model) {
        const auto bytes = static_cast<std::size_t>(recordSize(model));
        // Guard bytes behind the record show a load that writes past it.
        std::vector<std::uint8_t> loaded(bytes + 16, 0xE7);
        int mode = -1;
        int marker = -1;
        ZAV_FUZZ_CHECK(readProfileFile(input, model, std::span(loaded).first(bytes), mode, marker));
        ZAV_FUZZ_CHECK(std::all_of(loaded.begin() + std::ssize(loaded) - 16, loaded.end(),
                                   [](std::uint8_t b) { return b == 0xE7; }));
        ZAV_FUZZ_CHECK(writeProfileFile(saved, model, std::span(loaded).first(bytes), mode));
        std::vector<std::uint8_t> again(bytes);
        int againMode = -1;
        ZAV_FUZZ_CHECK(readProfileFile(saved, model, again, againMode, marker));
        ZAV_FUZZ_CHECK(std::equal(again.begin(), again.end(), loaded.begin()) && againMode == mode);
        ZAV_FUZZ_CHECK(marker == model);
        // A record of the wrong size is refused.
        std::vector<std::uint8_t> wrong(bytes + 1);
        ZAV_FUZZ_CHECK(!readProfileFile(input, model, wrong, mode, marker));
    }
    return 0;
}
