#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace zav {

// A profile file: one record, the mode it was made for and the number of the model that wrote it.
inline constexpr std::size_t kProfileFileSize = 128;
using ProfileFileImage = std::array<std::uint8_t, kProfileFileSize>;

namespace profilefile {
inline constexpr std::size_t kModelMarker = 127;
inline constexpr std::size_t kKiteMode = 60;
inline constexpr std::size_t kFernMode = 55;
inline constexpr std::size_t kMossMode = 53;
// KITE and FERN store backLightOff and adsLock in the opposite order to the record.
inline constexpr std::size_t kKiteAdsLock = 57;
inline constexpr std::size_t kKiteBackLightOff = 58;
inline constexpr std::size_t kKiteSensitivity = 59;
inline constexpr std::size_t kFernAdsLock = 52;
inline constexpr std::size_t kFernBackLightOff = 53;
inline constexpr std::size_t kFernSensitivity = 54;
// MOSS stores its mode byte between the four extra key codes and the last key code.
inline constexpr std::size_t kMossLastKey = 54;
inline constexpr std::size_t kMossSwitch = 55;
} // namespace profilefile

// The file image of a record. Every byte the layout does not use is zero; byte 127 is the model.
// Empty for an unknown model, a record that is not the model's size, or a mode that does not fit a byte
// (0..255; modes the page does not know are kept so that a loaded file saves back unchanged).
std::optional<ProfileFileImage> buildProfileFileImage(int model, std::span<const std::uint8_t> record,
                                                      int mode);

// Spreads a file image into a record with the model's layout, whatever model wrote the file.
// Returns false and changes nothing for an unknown model or a record that is not the model's size.
bool spreadProfileFileImage(const ProfileFileImage& image, int model, std::span<std::uint8_t> record,
                            int& mode, int& marker);

// Saves a profile. The file is replaced in one step (a new temporary file of a unique name, flushed,
// renamed over the target), so a failed or interrupted save leaves any earlier file as it was, and
// nothing planted at a temporary name is written. Returns false when anything fails, including an
// existing profile that is write-protected or is not a regular file; a link in the profile's place is
// replaced by the new file, never written through.
bool writeProfileFile(const std::filesystem::path& path, int model, std::span<const std::uint8_t> record,
                      int mode);

// Loads a profile; opens the file for reading only, without waiting and without following a link at the
// path itself. A short file reads as if padded with zeros; only the first 128 bytes of a longer one count.
// Returns false and changes nothing when the file cannot be read (missing, a link, not a regular file,
// read error), for an unknown model or a record of the wrong size.
bool readProfileFile(const std::filesystem::path& path, int model, std::span<std::uint8_t> record, int& mode,
                     int& marker);

} // namespace zav
