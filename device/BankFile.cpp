#include "device/BankFile.h"

#include "device/SafeFile.h"

#include <optional>
#include <vector>

namespace zav {

bool loadBankFile(const std::filesystem::path& path, SimulatedAdapter::Banks& banks) {
    // Only a regular file is read, and without waiting: a FIFO of that name must not hang the start.
    const std::optional<std::vector<std::uint8_t>> bytes =
        readRegularFile(path, kBankFileSize, FollowLink::Yes);
    if (!bytes || bytes->size() != kBankFileSize) {
        return false;
    }
    std::size_t at = 0;
    for (auto& model : banks) {
        for (auto& bank : model) {
            for (auto& byte : bank) {
                byte = (*bytes)[at++];
            }
        }
    }
    return true;
}

bool saveBankFile(const std::filesystem::path& path, const SimulatedAdapter::Banks& banks) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kBankFileSize);
    for (const auto& model : banks) {
        for (const auto& bank : model) {
            bytes.insert(bytes.end(), bank.begin(), bank.end());
        }
    }
    return replaceFile(path, bytes, 0644);
}

} // namespace zav
