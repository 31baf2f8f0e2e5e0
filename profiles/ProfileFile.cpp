#include "profiles/ProfileFile.h"

#include "profiles/ModelDescription.h"
#include "profiles/ProfileRecord.h"

#include "device/SafeFile.h"

#include <algorithm>
#include <vector>

namespace zav {

std::optional<ProfileFileImage> buildProfileFileImage(int model, std::span<const std::uint8_t> record,
                                                      int mode) {
    const ModelDescription* layout = modelDescription(model);
    if (layout == nullptr || record.size() != static_cast<std::size_t>(layout->recordSize) || mode < 0 ||
        mode > 0xFF) {
        return std::nullopt;
    }
    ProfileFileImage image{};
    for (const FileSegment& seg : layout->fileSegments) {
        std::copy_n(record.begin() + static_cast<std::ptrdiff_t>(seg.record), seg.length,
                    image.begin() + static_cast<std::ptrdiff_t>(seg.file));
    }
    image[layout->fileModeOffset] = static_cast<std::uint8_t>(mode);
    image[profilefile::kModelMarker] = static_cast<std::uint8_t>(model);
    return image;
}

bool spreadProfileFileImage(const ProfileFileImage& image, int model, std::span<std::uint8_t> record,
                            int& mode, int& marker) {
    const ModelDescription* layout = modelDescription(model);
    if (layout == nullptr || record.size() != static_cast<std::size_t>(layout->recordSize)) {
        return false;
    }
    for (const FileSegment& seg : layout->fileSegments) {
        std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(seg.file), seg.length,
                    record.begin() + static_cast<std::ptrdiff_t>(seg.record));
    }
    mode = image[layout->fileModeOffset];
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
    if (modelDescription(model) == nullptr || record.size() != static_cast<std::size_t>(recordSize(model))) {
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
