// The input is a profile file as it lies on disk. Every model loads it; what a load gives must be the
// file's first 128 bytes spread by the model's layout, no byte outside the record may change, and a save
// of what was loaded must read back as the same record and mode.

#include "fuzz/FuzzCheck.h"
#include "fuzz/ScratchFolder.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileRecord.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <vector>

namespace zav {
namespace {

constexpr std::array<int, 3> kModels = {models::kKite, models::kMoss, models::kFern};

// Bytes on both sides of the record buffer; a load that writes past the record changes them.
constexpr std::size_t kGuardSize = 16;
constexpr std::uint8_t kGuardByte = 0xE7;
constexpr int kUntouched = -7;

const fuzz::ScratchFolder& scratch() {
    static const fuzz::ScratchFolder folder;
    return folder;
}

// A record buffer with guard bytes around it.
struct GuardedRecord {
    explicit GuardedRecord(std::size_t size) : bytes(kGuardSize + size + kGuardSize, kGuardByte) {}
    std::span<std::uint8_t> record() {
        return std::span(bytes).subspan(kGuardSize, bytes.size() - 2 * kGuardSize);
    }
    bool guardsIntact() const {
        return std::all_of(bytes.begin(), bytes.begin() + kGuardSize,
                           [](std::uint8_t b) { return b == kGuardByte; }) &&
               std::all_of(bytes.end() - kGuardSize, bytes.end(),
                           [](std::uint8_t b) { return b == kGuardByte; });
    }
    bool allGuard() const {
        return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == kGuardByte; });
    }
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void putFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    ZAV_FUZZ_CHECK(out.good());
}

// The file places a model's layout uses: nonzero in the image of a record of 0xFF bytes in mode 0xFF.
ProfileFileImage usedPlaces(int model) {
    const std::vector<std::uint8_t> full(static_cast<std::size_t>(recordSize(model)), 0xFF);
    const std::optional<ProfileFileImage> image = buildProfileFileImage(model, full, 0xFF);
    ZAV_FUZZ_CHECK(image.has_value());
    ProfileFileImage used = *image;
    used[profilefile::kModelMarker] = 0;
    // The record and the mode byte, each in a place of its own.
    ZAV_FUZZ_CHECK(std::count(used.begin(), used.end(), 0xFF) == recordSize(model) + 1);
    return used;
}

void checkModel(int model, const ProfileFileImage& file, const std::filesystem::path& input,
                const std::filesystem::path& saved) {
    const auto size = static_cast<std::size_t>(recordSize(model));

    GuardedRecord loaded(size);
    int mode = kUntouched;
    int marker = kUntouched;
    ZAV_FUZZ_CHECK(readProfileFile(input, model, loaded.record(), mode, marker));
    ZAV_FUZZ_CHECK(loaded.guardsIntact());
    ZAV_FUZZ_CHECK(mode >= 0 && mode <= 0xFF);
    ZAV_FUZZ_CHECK(marker == file[profilefile::kModelMarker]);

    std::vector<std::uint8_t> spread(size, 0);
    int spreadMode = kUntouched;
    int spreadMarker = kUntouched;
    ZAV_FUZZ_CHECK(spreadProfileFileImage(file, model, spread, spreadMode, spreadMarker));
    ZAV_FUZZ_CHECK(std::equal(spread.begin(), spread.end(), loaded.record().begin(), loaded.record().end()));
    ZAV_FUZZ_CHECK(spreadMode == mode && spreadMarker == marker);

    // The image of what was loaded is the file itself where the layout has a place, zero elsewhere, and
    // names the loading model.
    const std::optional<ProfileFileImage> rebuilt = buildProfileFileImage(model, loaded.record(), mode);
    ZAV_FUZZ_CHECK(rebuilt.has_value());
    static const std::array<ProfileFileImage, 3> kUsed = {usedPlaces(kModels[0]), usedPlaces(kModels[1]),
                                                          usedPlaces(kModels[2])};
    const ProfileFileImage& used = kUsed[static_cast<std::size_t>(model - 1)];
    for (std::size_t i = 0; i < profilefile::kModelMarker; ++i) {
        ZAV_FUZZ_CHECK((*rebuilt)[i] == (used[i] != 0 ? file[i] : 0));
    }
    ZAV_FUZZ_CHECK((*rebuilt)[profilefile::kModelMarker] == model);

    // A save writes exactly that image, and loading the save gives the record and mode back.
    ZAV_FUZZ_CHECK(writeProfileFile(saved, model, loaded.record(), mode));
    const std::vector<std::uint8_t> written = fileBytes(saved);
    ZAV_FUZZ_CHECK(std::equal(written.begin(), written.end(), rebuilt->begin(), rebuilt->end()));

    GuardedRecord reloaded(size);
    int reloadedMode = kUntouched;
    int reloadedMarker = kUntouched;
    ZAV_FUZZ_CHECK(readProfileFile(saved, model, reloaded.record(), reloadedMode, reloadedMarker));
    ZAV_FUZZ_CHECK(reloaded.guardsIntact());
    ZAV_FUZZ_CHECK(std::equal(reloaded.record().begin(), reloaded.record().end(), loaded.record().begin(),
                              loaded.record().end()));
    ZAV_FUZZ_CHECK(reloadedMode == mode && reloadedMarker == model);
}

// Loads that must be refused leave the record, the mode and the marker alone.
void checkRefused(const std::filesystem::path& path, int model, std::size_t size) {
    GuardedRecord untouched(size);
    int mode = kUntouched;
    int marker = kUntouched;
    ZAV_FUZZ_CHECK(!readProfileFile(path, model, untouched.record(), mode, marker));
    ZAV_FUZZ_CHECK(untouched.allGuard() && mode == kUntouched && marker == kUntouched);
}

} // namespace
} // namespace zav

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    const std::filesystem::path input = scratch().path() / "input.zav4";
    const std::filesystem::path saved = scratch().path() / "saved.zav4";
    const std::span<const std::uint8_t> bytes(data, size);
    putFile(input, bytes);

    // A short file reads as if padded with zeros; only the first 128 bytes of a longer one count.
    ProfileFileImage file{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), file.size()), file.begin());

    for (const int model : kModels) {
        checkModel(model, file, input, saved);
        const auto recordBytes = static_cast<std::size_t>(recordSize(model));
        checkRefused(input, model, recordBytes - 1);
        checkRefused(input, model, recordBytes + 1);
        checkRefused(scratch().path() / "missing.zav4", model, recordBytes);
    }
    // A model number from the file itself: only 1..3 have a layout.
    const int foreignModel = size > 0 ? data[0] : 0;
    if (foreignModel < models::kKite || foreignModel > models::kFern) {
        checkRefused(input, foreignModel, static_cast<std::size_t>(record::kMaxSize));
        ZAV_FUZZ_CHECK(!buildProfileFileImage(foreignModel, std::vector<std::uint8_t>(60), 0).has_value());
    }
    return 0;
}
