#pragma once

#include "device/SimulatedAdapter.h"

#include <filesystem>

namespace zav {

// The simulated adapter's flash as a file: for model 1, 2, 3 in turn the banks of modes 0..3.
inline constexpr std::size_t kBankFileSize = 3 * SimulatedAdapter::kModes * sizeof(ProfileImage);
static_assert(kBankFileSize == 6144);

// False, with `banks` untouched, when the file is missing, not a regular file (a FIFO is refused at once,
// never waited on) or shorter than a whole set of banks.
bool loadBankFile(const std::filesystem::path& path, SimulatedAdapter::Banks& banks);

// Replaces the file as a whole, so an interrupted save keeps the previous banks; nothing planted at a
// temporary name is ever written. False when the banks could not be kept (no folder, a folder or FIFO in
// the file's place, a full disk).
bool saveBankFile(const std::filesystem::path& path, const SimulatedAdapter::Banks& banks);

} // namespace zav
