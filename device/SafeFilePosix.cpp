#include "device/SafeFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zav {

namespace {

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A name nobody can guess ahead of us; the exclusive create is what makes it safe, the randomness only
// keeps retries rare.
std::string uniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937_64 random(
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    char text[40];
    std::snprintf(text, sizeof text, "%d-%u-%08llx", static_cast<int>(::getpid()), counter.fetch_add(1),
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFull));
    return text;
}

// The rename is only durable once the folder itself is flushed. The new file is already in place, so a
// failure here does not undo the write.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool replaceFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                 unsigned newFileMode) {
    if (!path.has_filename()) {
        return false;
    }
    struct stat existing {};
    const bool exists = ::lstat(path.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        return false;
    }
    const bool keepMode = exists && S_ISREG(existing.st_mode);
    if (exists && !keepMode && !S_ISLNK(existing.st_mode)) {
        return false;
    }
    // A write-protected file stays protected: replacing it by rename would bypass that.
    if (keepMode && ::access(path.c_str(), W_OK) != 0) {
        return false;
    }

    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::filesystem::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        std::filesystem::path name(".");
        name += path.filename();
        name += "." + uniqueSuffix() + ".tmp";
        temp = folder / name;
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    static_cast<mode_t>(newFileMode & 0777));
        if (fd < 0 && errno != EEXIST) {
            return false;
        }
    }
    if (fd < 0) {
        return false;
    }

    bool ok = true;
    if (keepMode) {
        ok = ::fchmod(fd, existing.st_mode & 0777) == 0;
    }
    ok = ok && writeAll(fd, bytes.data(), bytes.size());
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

std::optional<std::vector<std::uint8_t>> readRegularFile(const std::filesystem::path& path,
                                                         std::size_t maxBytes, FollowLink follow) {
    // Non-blocking, so that opening a FIFO of that name returns at once; regular files ignore the flag.
    int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    if (follow == FollowLink::No) {
        flags |= O_NOFOLLOW;
    }
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(maxBytes);
    std::size_t got = 0;
    bool ok = true;
    while (got < maxBytes) {
        const ssize_t n = ::read(fd, bytes.data() + got, maxBytes - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (!ok) {
        return std::nullopt;
    }
    bytes.resize(got);
    return bytes;
}

bool makePrivateFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & 077) == 0;
}

unsigned long userNumber() {
    return static_cast<unsigned long>(::geteuid());
}

} // namespace zav
