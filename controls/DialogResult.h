#pragma once

// What the program's modal dialogs return from exec: OK 1, Cancel 2.

namespace zav {

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

} // namespace zav
