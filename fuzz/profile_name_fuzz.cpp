// The input is a name as typed. Whatever the bytes, the check must answer; a name it lets through must
// be short, printable, well-formed UTF-8 without separators or characters Windows refuses, and must make
// a profile file that can be created inside the profile folder and nowhere else.

#include "fuzz/FuzzCheck.h"
#include "fuzz/ScratchFolder.h"
#include "profiles/ProfileName.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

namespace zav {
namespace {

const fuzz::ScratchFolder& scratch() {
    static const fuzz::ScratchFolder folder;
    return folder;
}

bool inRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// Well-formed UTF-8 by the table of well-formed byte sequences: no overlong forms, no surrogates,
// nothing above U+10FFFF. Gives the number of code points, or -1.
int codePointCount(std::string_view text) {
    int count = 0;
    std::size_t i = 0;
    const auto at = [&](std::size_t k) { return k < text.size() ? static_cast<unsigned char>(text[k]) : 0; };
    while (i < text.size()) {
        const unsigned char lead = at(i);
        std::size_t length = 0;
        unsigned char secondLow = 0x80;
        unsigned char secondHigh = 0xBF;
        if (lead <= 0x7F) {
            length = 1;
        } else if (inRange(lead, 0xC2, 0xDF)) {
            length = 2;
        } else if (inRange(lead, 0xE0, 0xEF)) {
            length = 3;
            secondLow = lead == 0xE0 ? 0xA0 : 0x80;
            secondHigh = lead == 0xED ? 0x9F : 0xBF;
        } else if (inRange(lead, 0xF0, 0xF4)) {
            length = 4;
            secondLow = lead == 0xF0 ? 0x90 : 0x80;
            secondHigh = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return -1;
        }
        if (i + length > text.size() || (length > 1 && !inRange(at(i + 1), secondLow, secondHigh))) {
            return -1;
        }
        for (std::size_t k = 2; k < length; ++k) {
            if (!inRange(at(i + k), 0x80, 0xBF)) {
                return -1;
            }
        }
        i += length;
        ++count;
    }
    return count;
}

// C0 controls and DEL as bytes, C1 controls (U+0080..U+009F) as their two-byte sequences.
bool hasControl(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            return true;
        }
        if (byte == 0xC2 && i + 1 < text.size() &&
            inRange(static_cast<unsigned char>(text[i + 1]), 0x80, 0x9F)) {
            return true;
        }
    }
    return false;
}

std::string_view trimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Windows opens a device for these names, whatever extension and trailing spaces follow them.
bool isDeviceName(std::string_view name) {
    static constexpr std::array<std::string_view, 22> kDevices = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9",
    };
    std::string stem(name.substr(0, name.find('.')));
    stem.erase(stem.find_last_not_of(' ') + 1);
    std::transform(stem.begin(), stem.end(), stem.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
    return std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end();
}

} // namespace
} // namespace zav

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    const std::string name(reinterpret_cast<const char*>(data), size);
    if (!validProfileName(name)) {
        return 0;
    }

    const int length = codePointCount(name);
    ZAV_FUZZ_CHECK(length >= 1 && length <= kMaxProfileNameLength);
    ZAV_FUZZ_CHECK(!hasControl(name));
    ZAV_FUZZ_CHECK(name.find_first_of("/\\<>:\"|?*") == std::string::npos);
    const std::string_view trimmed = trimSpaces(name);
    ZAV_FUZZ_CHECK(!trimmed.empty() && trimmed != "." && trimmed != "..");
    ZAV_FUZZ_CHECK(!isDeviceName(name));

    // The file a save makes is one name inside the folder, and it can be made there.
    const std::filesystem::path folder = scratch().path();
    const std::filesystem::path file = folder / (name + ".zav4");
    ZAV_FUZZ_CHECK(file.parent_path() == folder);
    ZAV_FUZZ_CHECK(file.filename() == name + ".zav4");
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    ZAV_FUZZ_CHECK(fd >= 0);
    ::close(fd);
    ZAV_FUZZ_CHECK(::unlink(file.c_str()) == 0);

    // A separator, or one character too many, makes any good name bad.
    ZAV_FUZZ_CHECK(!validProfileName(name + "/"));
    ZAV_FUZZ_CHECK(!validProfileName(
        name + std::string(static_cast<std::size_t>(kMaxProfileNameLength - length + 1), 'a')));
    return 0;
}
