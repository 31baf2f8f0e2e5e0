#include "device/BankSetFile.h"

#include "device/SafeFile.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace zav {
namespace {

constexpr std::array<std::uint8_t, bankset::kMagicSize> kMagicBytes = {'Z', 'A', 'V', 'B',
                                                                       'A', 'N', 'K', 'S'};

std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
        }
        table[i] = c;
    }
    return table;
}

void putLe(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint64_t getLe(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i) {
        value |= static_cast<std::uint64_t>(bytes[at + static_cast<std::size_t>(i)]) << (8 * i);
    }
    return value;
}

std::uint32_t fileCrc(std::span<const std::uint8_t> bytes) {
    // Only called with a whole header.
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    for (std::size_t i = bankset::kCrc; i < bankset::kCrc + 4 && i < copy.size(); ++i) {
        copy[i] = 0;
    }
    return crc32(copy);
}

} // namespace

const char* describe(BankSetError error) {
    switch (error) {
    case BankSetError::None:
        return "no error";
    case BankSetError::Unreadable:
        return "cannot be read";
    case BankSetError::Foreign:
        return "is not a bank file of zavora-cli";
    case BankSetError::Version:
        return "was written by a later version";
    case BankSetError::Truncated:
        return "is truncated";
    case BankSetError::Damaged:
        return "is damaged (its checksum does not match)";
    case BankSetError::Invalid:
        return "names no valid model or mode";
    }
    return "cannot be used";
}

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
    static const std::array<std::uint32_t, 256> table = makeCrcTable();
    std::uint32_t c = 0xFFFFFFFFU;
    for (std::uint8_t b : bytes) {
        c = table[(c ^ b) & 0xFFU] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFU;
}

std::optional<std::vector<std::uint8_t>> encodeBankSet(const BankSet& set) {
    if (set.model < 1 || set.model > 3 || set.banks.empty() || set.firstMode < 0 ||
        set.firstMode + static_cast<int>(set.banks.size()) > bankset::kModes ||
        set.node.size() >= bankset::kNodeSize) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(bankset::kHeaderSize + set.banks.size() * sizeof(ProfileImage), 0);
    std::copy(kMagicBytes.begin(), kMagicBytes.end(), bytes.begin());
    bytes[bankset::kVersion] = bankset::kCurrentVersion;
    bytes[bankset::kModel] = static_cast<std::uint8_t>(set.model);
    bytes[bankset::kFirstMode] = static_cast<std::uint8_t>(set.firstMode);
    bytes[bankset::kCount] = static_cast<std::uint8_t>(set.banks.size());
    putLe(bytes, bankset::kTime, static_cast<std::uint64_t>(set.time), 8);
    std::copy(set.node.begin(), set.node.end(), bytes.begin() + bankset::kNode);
    auto at = bytes.begin() + bankset::kHeaderSize;
    for (const ProfileImage& bank : set.banks) {
        at = std::copy(bank.begin(), bank.end(), at);
    }
    putLe(bytes, bankset::kCrc, fileCrc(bytes), 4);
    return bytes;
}

BankSetError decodeBankSet(std::span<const std::uint8_t> bytes, BankSet& set) {
    if (bytes.size() < bankset::kMagicSize ||
        !std::equal(kMagicBytes.begin(), kMagicBytes.end(), bytes.begin())) {
        return BankSetError::Foreign;
    }
    if (bytes.size() < bankset::kHeaderSize) {
        return BankSetError::Truncated;
    }
    if (bytes[bankset::kVersion] != bankset::kCurrentVersion) {
        return BankSetError::Version;
    }
    const int count = bytes[bankset::kCount];
    if (bytes.size() != bankset::kHeaderSize + static_cast<std::size_t>(count) * sizeof(ProfileImage)) {
        return BankSetError::Truncated;
    }
    if (getLe(bytes, bankset::kCrc, 4) != fileCrc(bytes)) {
        return BankSetError::Damaged;
    }
    const int model = bytes[bankset::kModel];
    const int firstMode = bytes[bankset::kFirstMode];
    if (model < 1 || model > 3 || count < 1 || firstMode + count > bankset::kModes) {
        return BankSetError::Invalid;
    }
    BankSet read;
    read.model = model;
    read.firstMode = firstMode;
    read.time = static_cast<std::int64_t>(getLe(bytes, bankset::kTime, 8));
    const auto node = bytes.subspan(bankset::kNode, bankset::kNodeSize);
    read.node.assign(node.begin(), std::find(node.begin(), node.end(), 0));
    for (int i = 0; i < count; ++i) {
        ProfileImage bank{};
        const auto from =
            bytes.subspan(bankset::kHeaderSize + static_cast<std::size_t>(i) * bank.size(), bank.size());
        std::copy(from.begin(), from.end(), bank.begin());
        read.banks.push_back(bank);
    }
    set = std::move(read);
    return BankSetError::None;
}

bool saveBankSet(const std::filesystem::path& path, const BankSet& set) {
    const auto bytes = encodeBankSet(set);
    return bytes && replaceFile(path, *bytes, 0600);
}

BankSetError loadBankSet(const std::filesystem::path& path, BankSet& set) {
    // One byte more than the largest file, so that a longer file is told from a whole one.
    const auto bytes = readRegularFile(path, bankset::kMaxFileSize + 1, FollowLink::Yes);
    if (!bytes) {
        return BankSetError::Unreadable;
    }
    return decodeBankSet(*bytes, set);
}

} // namespace zav
