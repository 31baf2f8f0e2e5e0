#include "profiles/ProfileFile.h"

#include "profiles/ProfileRecord.h"

#include "device/SafeFile.h"

#include <algorithm>
#include <vector>

namespace zav {

namespace {

// A run of bytes that sits at one place in the file and at another in the record.
struct Segment {
    std::size_t file;
    std::size_t record;
    std::size_t length;
};

struct FileLayout {
    int model;
    std::size_t recordSize;
    std::size_t modeOffset;
    std::array<Segment, 4> segments;
    std::size_t segmentCount;
};

constexpr std::size_t field(SettingsField f) {
    return static_cast<std::size_t>(f);
}

constexpr std::size_t kKiteBackLightOffRecord =
    record::kKiteKeyBlockSize + field(SettingsField::backLightOff);
constexpr std::size_t kKiteAdsLockRecord = record::kKiteKeyBlockSize + field(SettingsField::adsLock);
constexpr std::size_t kKiteSensitivityRecord = record::kKiteKeyBlockSize + field(SettingsField::sensitivity);
constexpr std::size_t kFernBackLightOffRecord =
    record::kFernKeyBlockSize + field(SettingsField::backLightOff);
constexpr std::size_t kFernAdsLockRecord = record::kFernKeyBlockSize + field(SettingsField::adsLock);
constexpr std::size_t kFernSensitivityRecord = record::kFernKeyBlockSize + field(SettingsField::sensitivity);

constexpr std::array<FileLayout, 3> kLayouts = {{
    {models::kKite,
     record::kKiteSize,
     profilefile::kKiteMode,
     {{
         {0, 0, kKiteBackLightOffRecord}, // key codes, s0..s8
         {profilefile::kKiteAdsLock, kKiteAdsLockRecord, 1},
         {profilefile::kKiteBackLightOff, kKiteBackLightOffRecord, 1},
         {profilefile::kKiteSensitivity, kKiteSensitivityRecord, 1},
     }},
     4},
    {models::kMoss,
     record::kMossSize,
     profilefile::kMossMode,
     {{
         {0, 0, record::kMossLastKey}, // key codes, s0..s11, four extra key codes
         {profilefile::kMossLastKey, record::kMossLastKey, 2},
     }},
     2},
    {models::kFern,
     record::kFernSize,
     profilefile::kFernMode,
     {{
         {0, 0, kFernBackLightOffRecord}, // key codes, s0..s8
         {profilefile::kFernAdsLock, kFernAdsLockRecord, 1},
         {profilefile::kFernBackLightOff, kFernBackLightOffRecord, 1},
         {profilefile::kFernSensitivity, kFernSensitivityRecord, 1},
     }},
     4},
}};

// Every record byte has exactly one place in the file, away from the mode byte and the marker.
constexpr bool layoutIsSound(const FileLayout& layout) {
    std::array<int, kProfileFileSize> fileUse{};
    std::array<int, record::kMaxSize> recordUse{};
    fileUse[layout.modeOffset] += 1;
    fileUse[profilefile::kModelMarker] += 1;
    for (std::size_t s = 0; s < layout.segmentCount; ++s) {
        const Segment& seg = layout.segments[s];
        for (std::size_t i = 0; i < seg.length; ++i) {
            fileUse[seg.file + i] += 1;
            recordUse[seg.record + i] += 1;
        }
    }
    for (std::size_t i = 0; i < kProfileFileSize; ++i) {
        if (fileUse[i] > 1) {
            return false;
        }
    }
    for (std::size_t i = 0; i < record::kMaxSize; ++i) {
        if (recordUse[i] != (i < layout.recordSize ? 1 : 0)) {
            return false;
        }
    }
    return true;
}

static_assert(layoutIsSound(kLayouts[0]));
static_assert(layoutIsSound(kLayouts[1]));
static_assert(layoutIsSound(kLayouts[2]));

const FileLayout* layoutFor(int model) {
    const auto found =
        std::find_if(kLayouts.begin(), kLayouts.end(), [&](const FileLayout& l) { return l.model == model; });
    return found == kLayouts.end() ? nullptr : &*found;
}

} // namespace

std::optional<ProfileFileImage> buildProfileFileImage(int model, std::span<const std::uint8_t> record,
                                                      int mode) {
    const FileLayout* layout = layoutFor(model);
    if (layout == nullptr || record.size() != layout->recordSize || mode < 0 || mode > 0xFF) {
        return std::nullopt;
    }
    ProfileFileImage image{};
    for (std::size_t s = 0; s < layout->segmentCount; ++s) {
        const Segment& seg = layout->segments[s];
        std::copy_n(record.begin() + static_cast<std::ptrdiff_t>(seg.record), seg.length,
                    image.begin() + static_cast<std::ptrdiff_t>(seg.file));
    }
    image[layout->modeOffset] = static_cast<std::uint8_t>(mode);
    image[profilefile::kModelMarker] = static_cast<std::uint8_t>(model);
    return image;
}

bool spreadProfileFileImage(const ProfileFileImage& image, int model, std::span<std::uint8_t> record,
                            int& mode, int& marker) {
    const FileLayout* layout = layoutFor(model);
    if (layout == nullptr || record.size() != layout->recordSize) {
        return false;
    }
    for (std::size_t s = 0; s < layout->segmentCount; ++s) {
        const Segment& seg = layout->segments[s];
        std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(seg.file), seg.length,
                    record.begin() + static_cast<std::ptrdiff_t>(seg.record));
    }
    mode = image[layout->modeOffset];
    marker = image[profilefile::kModelMarker];
    return true;
}

bool writeProfileFile(const std::filesystem::path& path, int model, std::span<const std::uint8_t> record,
                      int mode) {
    const std::optional<ProfileFileImage> image = buildProfileFileImage(model, record, mode);
    return image && replaceFile(path, *image, 0666);
}

bool readProfileFile(const std::filesystem::path& path, int model, std::span<std::uint8_t> record, int& mode,
                     int& marker) {
    if (layoutFor(model) == nullptr || record.size() != static_cast<std::size_t>(recordSize(model))) {
        return false;
    }
    const std::optional<std::vector<std::uint8_t>> bytes =
        readRegularFile(path, kProfileFileSize, FollowLink::No);
    if (!bytes) {
        return false;
    }
    ProfileFileImage image{};
    std::copy(bytes->begin(), bytes->end(), image.begin());
    return spreadProfileFileImage(image, model, record, mode, marker);
}

} // namespace zav
