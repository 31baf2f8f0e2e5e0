#include "text/LangId.h"

#include <array>

namespace zav {

namespace {

struct Primary {
    std::string_view language;
    int id;
    int defaultSub;
};

struct Sub {
    std::string_view language;
    std::string_view territory;
    int sub;
};

constexpr std::array<Primary, 24> kPrimaries = {{
    {"ar", 0x01, 1}, {"zh", 0x04, 2}, {"cs", 0x05, 1}, {"da", 0x06, 1}, {"de", 0x07, 1}, {"el", 0x08, 1},
    {"en", 0x09, 1}, {"es", 0x0A, 3}, {"fi", 0x0B, 1}, {"fr", 0x0C, 1}, {"he", 0x0D, 1}, {"hu", 0x0E, 1},
    {"it", 0x10, 1}, {"ja", 0x11, 1}, {"ko", 0x12, 1}, {"nl", 0x13, 1}, {"nb", 0x14, 1}, {"pl", 0x15, 1},
    {"pt", 0x16, 1}, {"ru", 0x19, 1}, {"sv", 0x1D, 1}, {"th", 0x1E, 1}, {"tr", 0x1F, 1}, {"uk", 0x22, 1},
}};

// Sub-language numbers of the variants that matter for the program's six languages, and a few more.
constexpr std::array<Sub, 42> kSubs = {{
    {"en", "US", 1},  {"en", "GB", 2},  {"en", "AU", 3},  {"en", "CA", 4},  {"en", "NZ", 5},
    {"en", "IE", 6},  {"en", "ZA", 7},  {"en", "JM", 8},  {"en", "029", 9}, {"en", "BZ", 10},
    {"en", "TT", 11}, {"en", "ZW", 12}, {"en", "PH", 13}, {"en", "IN", 16}, {"en", "MY", 17},
    {"en", "SG", 18}, {"fr", "FR", 1},  {"fr", "BE", 2},  {"fr", "CA", 3},  {"fr", "CH", 4},
    {"fr", "LU", 5},  {"fr", "MC", 6},  {"de", "DE", 1},  {"de", "CH", 2},  {"de", "AT", 3},
    {"de", "LU", 4},  {"de", "LI", 5},  {"zh", "TW", 1},  {"zh", "CN", 2},  {"zh", "HK", 3},
    {"zh", "SG", 4},  {"zh", "MO", 5},  {"es", "ES", 3},  {"es", "MX", 2},  {"es", "AR", 11},
    {"pt", "BR", 1},  {"pt", "PT", 2},  {"nl", "NL", 1},  {"nl", "BE", 2},  {"it", "IT", 1},
    {"it", "CH", 2},  {"sv", "FI", 2},
}};

} // namespace

int windowsLangId(std::string_view language, std::string_view territory, std::string_view script) {
    const Primary* primary = nullptr;
    for (const Primary& p : kPrimaries) {
        if (p.language == language) {
            primary = &p;
        }
    }
    if (primary == nullptr) {
        return 0;
    }
    int sub = primary->defaultSub;
    bool found = false;
    for (const Sub& s : kSubs) {
        if (s.language == language && s.territory == territory) {
            sub = s.sub;
            found = true;
        }
    }
    // Chinese without a known territory follows its script.
    if (!found && language == "zh" && script == "Hant") {
        sub = 1;
    }
    return (sub << 10) | primary->id;
}

} // namespace zav
