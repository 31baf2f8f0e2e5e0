#pragma once

#include <QString>

#include <string_view>

namespace zav {

// The texts and tables hold UTF-8; the widgets take QString.
inline QString qstr(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace zav
