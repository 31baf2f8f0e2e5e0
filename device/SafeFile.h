#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace zav {

// File access that neither hangs on odd files nor writes through links planted by someone else. One
// implementation per platform (SafeFilePosix.cpp, SafeFileWindows.cpp), chosen by the build.

// Replaces the file at `path` with `bytes` in one step: the bytes go to a new hidden file of a unique
// name in the same folder, created exclusively (never an existing file or link), flushed to disk and
// renamed over the target, so an interrupted or failed write leaves the old file whole. A new file gets
// `newFileMode` (less the umask); a regular file that is replaced keeps its own permissions, and one
// that is write-protected is not replaced. A link at `path` is replaced by the new file; its target is
// never written. Anything else there (a folder, a FIFO) is refused. False when anything fails; the
// temporary file is then removed.
bool replaceFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                 unsigned newFileMode = 0666);

// Whether reading follows a symbolic link at the path itself.
enum class FollowLink { No, Yes };

// Reads at most `maxBytes` from the start of a regular file. The file is opened without waiting, so a
// FIFO or device of that name is refused at once rather than read; empty when the path names no regular
// file or reading fails.
std::optional<std::vector<std::uint8_t>> readRegularFile(const std::filesystem::path& path,
                                                         std::size_t maxBytes, FollowLink follow);

// Makes `folder` (its parent must exist) and checks that it is this user's own: a real folder, not a
// link, owned by this user and closed to everybody else. False when it cannot be made or is not such a
// folder; a folder that exists is never changed.
bool makePrivateFolder(const std::filesystem::path& folder);

// A number that names this user on the platform, for per-user file names (the user id on POSIX).
unsigned long userNumber();

} // namespace zav
