#pragma once

#include <string_view>

namespace zav {

// Longest profile name, in characters (not bytes).
inline constexpr int kMaxProfileNameLength = 20;

// Whether a typed name (UTF-8) can name a profile file in the profile folder on every platform: not
// blank, at most kMaxProfileNameLength characters, valid UTF-8, no control characters, no path
// separators or characters Windows refuses (< > : " | ? *), not "." or "..", and not a Windows device
// name (CON, PRN, AUX, NUL, COM1..9, LPT1..9 in any case, with or without an extension).
bool validProfileName(std::string_view name);

} // namespace zav
