#pragma once

#include "fuzz/FuzzCheck.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace zav::fuzz {

// A private folder under the temporary folder ($TMPDIR) for the files one fuzz process makes; removed
// when the process ends normally.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zavora-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            checkFailed("a scratch folder can be made", __FILE__, __LINE__);
        }
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace zav::fuzz
