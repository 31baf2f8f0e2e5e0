#include "profiles/ProfileName.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace zav {

namespace {

// Windows maps these names to devices whatever extension follows them.
constexpr std::array<std::string_view, 22> kDeviceNames = {
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9",
};

constexpr std::string_view kRefusedCharacters = "/\\<>:\"|?*";

// Spaces that make a name look blank.
constexpr std::array<char32_t, 15> kSpaces = {
    U' ',      U'\u00A0', U'\u1680', U'\u2000', U'\u2001', U'\u2002', U'\u2003', U'\u2004',
    U'\u2005', U'\u2006', U'\u2007', U'\u2008', U'\u2009', U'\u200A', U'\u3000',
};

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
std::optional<std::vector<char32_t>> decodeUtf8(std::string_view text) {
    std::vector<char32_t> out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t least = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
            least = 0x10000;
        } else {
            return std::nullopt;
        }
        if (text.size() - i <= static_cast<std::size_t>(extra)) {
            return std::nullopt;
        }
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return std::nullopt;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool isSpace(char32_t c) {
    return std::find(kSpaces.begin(), kSpaces.end(), c) != kSpaces.end();
}

char32_t upper(char32_t c) {
    return (c >= U'a' && c <= U'z') ? c - U'a' + U'A' : c;
}

// Windows ignores trailing spaces after a device name ("CON .txt" is the console too).
bool isDeviceName(const std::vector<char32_t>& name) {
    std::size_t end = std::find(name.begin(), name.end(), U'.') - name.begin();
    while (end > 0 && name[end - 1] == U' ') {
        --end;
    }
    return std::any_of(kDeviceNames.begin(), kDeviceNames.end(), [&](std::string_view device) {
        return device.size() == end && std::equal(device.begin(), device.end(), name.begin(),
                                                  [](char d, char32_t c) { return upper(c) == char32_t(d); });
    });
}

} // namespace

bool validProfileName(std::string_view name) {
    const std::optional<std::vector<char32_t>> chars = decodeUtf8(name);
    if (!chars || chars->size() > static_cast<std::size_t>(kMaxProfileNameLength)) {
        return false;
    }
    const auto first = std::find_if_not(chars->begin(), chars->end(), isSpace);
    if (first == chars->end()) {
        return false;
    }
    const auto last = std::find_if_not(chars->rbegin(), chars->rend(), isSpace).base();
    const std::u32string_view trimmed(&*first, static_cast<std::size_t>(last - first));
    if (trimmed == U"." || trimmed == U"..") {
        return false;
    }
    for (const char32_t c : *chars) {
        if (isControl(c) ||
            (c < 0x80 && kRefusedCharacters.find(static_cast<char>(c)) != std::string_view::npos)) {
            return false;
        }
    }
    return !isDeviceName(*chars);
}

} // namespace zav
