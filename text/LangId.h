#pragma once

#include <string_view>

namespace zav {

// The Windows language identifier of a locale given as ISO 639 language ("fr"), ISO 3166
// territory ("CA", may be empty) and ISO 15924 script ("Hant", may be empty): fr_CA -> 3084,
// en_GB -> 2057, zh_TW -> 1028. 0 when the language is not known here.
int windowsLangId(std::string_view language, std::string_view territory, std::string_view script = {});

} // namespace zav
