#include "device/BankFile.h"

#include <cstdio>
#include <fstream>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace zav {

bool loadBankFile(const std::filesystem::path& path, SimulatedAdapter::Banks& banks) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::vector<char> bytes(kBankFileSize);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::size_t>(in.gcount()) != kBankFileSize) {
        return false;
    }
    std::size_t at = 0;
    for (auto& model : banks) {
        for (auto& bank : model) {
            for (auto& byte : bank) {
                byte = static_cast<std::uint8_t>(bytes[at++]);
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
    std::filesystem::path temp = path;
    temp += ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool written =
        ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    std::error_code ec;
    if (!written || !closed) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

} // namespace zav
