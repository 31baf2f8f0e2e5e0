#include "device/SafeFile.h"

#include <atomic>
#include <cstdio>
#include <random>
#include <string>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace zav {

namespace {

std::wstring uniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937_64 random(std::random_device{}() ^ ::GetTickCount64());
    wchar_t text[48];
    std::swprintf(text, sizeof text / sizeof text[0], L"%lu-%u-%08llx", ::GetCurrentProcessId(),
                  counter.fetch_add(1), static_cast<unsigned long long>(random() & 0xFFFFFFFFull));
    return text;
}

bool writeAll(HANDLE file, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

} // namespace

bool replaceFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, unsigned) {
    if (!path.has_filename()) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    const bool link = exists && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (exists && !link && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return false;
    }
    if (!exists && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
        return false;
    }

    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(L".");
    std::filesystem::path temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && file == INVALID_HANDLE_VALUE; ++attempt) {
        std::filesystem::path name(L".");
        name += path.filename();
        name += L"." + uniqueSuffix() + L".tmp";
        temp = folder / name;
        // CREATE_NEW fails on anything already there, a link included.
        file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, nullptr);
        if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }

    bool ok = writeAll(file, bytes.data(), bytes.size());
    ok = ok && ::FlushFileBuffers(file);
    ok = ::CloseHandle(file) && ok;
    if (ok) {
        // The replaced file keeps its attributes and security; the hidden mark of the temporary goes.
        ::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
        const bool replaced = exists && !link &&
                              ::ReplaceFileW(path.c_str(), temp.c_str(), nullptr,
                                             REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
        ok = replaced ||
             ::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (!ok) {
        ::DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> readRegularFile(const std::filesystem::path& path,
                                                         std::size_t maxBytes, FollowLink follow) {
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (follow == FollowLink::No ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        ::CloseHandle(file);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(maxBytes);
    std::size_t got = 0;
    bool ok = true;
    while (got < maxBytes) {
        const std::size_t left = maxBytes - got;
        const DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
        DWORD read = 0;
        if (!::ReadFile(file, bytes.data() + got, chunk, &read, nullptr)) {
            ok = false;
            break;
        }
        if (read == 0) {
            break;
        }
        got += read;
    }
    ::CloseHandle(file);
    if (!ok) {
        return std::nullopt;
    }
    bytes.resize(got);
    return bytes;
}

bool makePrivateFolder(const std::filesystem::path& folder) {
    // The user's own temporary and application folders are closed to other users by their ACLs.
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

unsigned long userNumber() {
    // Each user has a temporary folder of their own; one number serves.
    return 0;
}

} // namespace zav
