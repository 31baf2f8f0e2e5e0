#include "text/Texts.h"
#include "profiles/ProfileListModel.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zav {
namespace {

TEST(TextCatalogue, every_entry_has_six_utf8_forms_that_fit_a_message_box) {
    for (int i = 0; i < kTextCount; ++i) {
        const auto id = static_cast<TextId>(i);
        for (int language = 0; language < kLanguageCount; ++language) {
            SCOPED_TRACE(testing::Message() << "entry " << i << " language " << language);
            const std::string_view form = text(id, language);
            ASSERT_FALSE(form.empty());
            EXPECT_EQ(ProfileListModel::shownName(form), form); // strict UTF-8 is shown unmended
            EXPECT_EQ(form.find('\r'), std::string_view::npos);
            EXPECT_NE(form.front(), '\n');
            EXPECT_NE(form.back(), '\n');
            EXPECT_LE(textLines(id, language).size(), 11u); // the message box has eleven lines
        }
    }
}

// What the user is told after a write or a save must never read as another outcome.
TEST(TextCatalogue, outcomes_and_choices_differ_and_one_golden_row_holds_in_every_language) {
    const std::vector<std::vector<TextId>> mustDiffer = {
        {TextId::WriteComplete, TextId::WriteUnconfirmed, TextId::OverwriteError, TextId::ZavNotConnected},
        {TextId::SaveSucceeded, TextId::SaveFailed, TextId::FileAlreadyExists, TextId::InvalidProfileName,
         TextId::OldProfileNotDeleted, TextId::ProfileCannotBeLoaded, TextId::ProfileCannotBeDeleted},
        {TextId::ModePlaystation4, TextId::ModePlaystation3, TextId::ModePcPad, TextId::ModeKeyboard},
        {TextId::RefuseFn, TextId::RefuseFixedKey},
    };
    for (int language = 0; language < kLanguageCount; ++language) {
        for (const auto& group : mustDiffer) {
            std::set<std::string_view> forms;
            for (TextId id : group) {
                EXPECT_TRUE(forms.insert(text(id, language)).second)
                    << "entry " << static_cast<int>(id) << " language " << language;
            }
        }
        // The restore texts name the Write button as its caption reads in the same language.
        for (TextId id : {TextId::RestoreBeforeLastWrite, TextId::RestoreQuestion, TextId::NothingKept}) {
            EXPECT_NE(text(id, language).find(text(TextId::CaptionWrite, language)), std::string_view::npos)
                << static_cast<int>(id) << " in language " << language;
        }
        EXPECT_NE(textLines(TextId::AccessDenied, language)[1].find("70-zavora.rules"),
                  std::string_view::npos)
            << "language " << language;
    }

    // One golden row, byte for byte.
    const std::string_view forms[] = {"This profile cannot be loaded.",
                                      "Ce profil ne peut pas être chargé.",
                                      "Dieses Profil kann nicht geladen werden.",
                                      "このプロファイルは読み込めません.",
                                      "无法读取该Profile.",
                                      "無法讀取該Profile."};
    for (int language = 0; language < kLanguageCount; ++language) {
        EXPECT_EQ(text(TextId::ProfileCannotBeLoaded, language), forms[language]) << "language " << language;
    }
}

TEST(LanguageChoice, identifiers_map_to_languages_mode_lists_follow_and_each_control_has_one_caption) {
    const std::pair<int, int> rows[] = {{1033, 0},  {11273, 0}, {3084, 1}, {5127, 2},
                                        {1041, 3},  {4100, 4},  {3076, 5}, {1034, 0},
                                        {12297, 0}, {6156, 0},  {5124, 0}, {-1, 0}}; // the last five: none
    for (const auto& [langId, language] : rows) {
        EXPECT_EQ(startupLanguage(langId), language) << "identifier " << langId;
    }
    EXPECT_EQ(languageForLangId(5124), -1);
    EXPECT_EQ(text(TextId::WriteComplete, kLanguageCount), text(TextId::WriteComplete, 0));
    EXPECT_EQ(text(TextId::WriteComplete, -1), text(TextId::WriteComplete, 0));

    for (int language = 0; language < kLanguageCount; ++language) {
        EXPECT_EQ(modeListTexts(1, 0, language).size(), 4u);
        EXPECT_EQ(modeListTexts(2, 4, language).back(), text(TextId::ModePcPad, language));
        EXPECT_EQ(modeListTexts(2, 5, language).back(), text(TextId::ModeKeyboard, language));
        EXPECT_EQ(modeListTexts(2, 255, language).size(), 3u);
    }
    EXPECT_TRUE(modeListTexts(0, 5, 0).empty());

    std::set<std::pair<int, int>> seen;
    for (const Caption& c : captions()) {
        EXPECT_TRUE(seen.insert({c.window, c.control}).second) << c.window << "/" << c.control;
        EXPECT_EQ(captionFor(c.window, c.control), c.id);
    }
    // The D-pad and L-stick captions stand on the first page only (the second has its own button there).
    EXPECT_EQ(captionFor(1, 1137), TextId::CaptionDPad);
    EXPECT_FALSE(captionFor(2, 1137).has_value());
}

} // namespace
} // namespace zav
