#pragma once

#include "device/ProfileImage.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zav {

// Banks of one adapter kept in a file: a whole adapter (modes 0..3) from zavora-cli backup, or the one
// bank a write was about to overwrite. The bytes are the banks as the adapter holds them.
//
//   0  8  magic "ZAVBANKS"
//   8  1  version, 1
//   9  1  model 1..3
//  10  1  mode of the first bank, 0..3
//  11  1  number of banks, 1..4 (consecutive modes from the first)
//  12  8  when the banks were read: seconds since 1970, least significant byte first
//  20  4  CRC-32 of the whole file with these four bytes zero, least significant byte first
//  24 256 the adapter's node, UTF-8, zero-padded
// 280 512 per bank
namespace bankset {
inline constexpr std::size_t kMagic = 0;
inline constexpr std::size_t kMagicSize = 8;
inline constexpr std::size_t kVersion = 8;
inline constexpr std::size_t kModel = 9;
inline constexpr std::size_t kFirstMode = 10;
inline constexpr std::size_t kCount = 11;
inline constexpr std::size_t kTime = 12;
inline constexpr std::size_t kCrc = 20;
inline constexpr std::size_t kNode = 24;
inline constexpr std::size_t kNodeSize = 256;
inline constexpr std::size_t kHeaderSize = 280;
inline constexpr std::uint8_t kCurrentVersion = 1;
inline constexpr int kModes = 4;
inline constexpr std::size_t kMaxFileSize = kHeaderSize + kModes * sizeof(ProfileImage);
static_assert(kNode + kNodeSize == kHeaderSize);
} // namespace bankset

struct BankSet {
    int model = 0;
    int firstMode = 0;
    std::int64_t time = 0;
    std::string node;
    std::vector<ProfileImage> banks;
    int modeOf(std::size_t i) const { return firstMode + static_cast<int>(i); }
};

enum class BankSetError {
    None,
    Unreadable, // missing, not a regular file, or unreadable
    Foreign,    // not a bank file at all
    Version,    // a bank file of a later version
    Truncated,  // shorter or longer than its header says
    Damaged,    // the checksum does not match
    Invalid,    // a model, mode or bank count out of range
};

// What a refusal means, in a sentence for the tool's messages.
const char* describe(BankSetError error);

std::uint32_t crc32(std::span<const std::uint8_t> bytes);

// Empty when the set cannot be kept: a model outside 1..3, no banks, modes past 3, a node too long.
std::optional<std::vector<std::uint8_t>> encodeBankSet(const BankSet& set);
BankSetError decodeBankSet(std::span<const std::uint8_t> bytes, BankSet& set);

// Written in one step through the atomic file helper; new files are the user's alone.
bool saveBankSet(const std::filesystem::path& path, const BankSet& set);
BankSetError loadBankSet(const std::filesystem::path& path, BankSet& set);

} // namespace zav
