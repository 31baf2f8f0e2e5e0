#pragma once

// What the program's modal dialogs return from exec, as the dialogs of the original program did.

namespace zav {

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

} // namespace zav
