#include "text/Texts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zav {
namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<std::uint8_t>(s[i]);
        int extra = 0;
        std::uint32_t cp = 0;
        if (b0 < 0x80) {
            ++i;
            continue;
        } else if (b0 >= 0xC2 && b0 <= 0xDF) {
            extra = 1;
            cp = b0 & 0x1Fu;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            extra = 2;
            cp = b0 & 0x0Fu;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            extra = 3;
            cp = b0 & 0x07u;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= s.size()) {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            const auto b = static_cast<std::uint8_t>(s[i + static_cast<std::size_t>(k)]);
            if ((b & 0xC0u) != 0x80u) {
                return false;
            }
            cp = (cp << 6) | (b & 0x3Fu);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

TEST(Utf8Check, rejects_broken_sequences) {
    EXPECT_TRUE(isValidUtf8("caf\xC3\xA9 \xE8\xAF\xAD"));
    EXPECT_FALSE(isValidUtf8("\xC3"));         // cut short
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));     // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")); // surrogate
    EXPECT_FALSE(isValidUtf8("\xE8\xAF"
                             "a")); // bad continuation
}

std::vector<TextId> allIds() {
    std::vector<TextId> ids;
    for (int i = 0; i < kTextCount; ++i) {
        ids.push_back(static_cast<TextId>(i));
    }
    return ids;
}

TEST(TextCatalogue, every_entry_has_six_nonempty_utf8_forms_that_fit_a_message_box) {
    for (TextId id : allIds()) {
        for (int language = 0; language < kLanguageCount; ++language) {
            SCOPED_TRACE(testing::Message() << "entry " << static_cast<int>(id) << " language " << language);
            const std::string_view form = text(id, language);
            ASSERT_FALSE(form.empty());
            EXPECT_TRUE(isValidUtf8(form));
            EXPECT_EQ(form.find('\r'), std::string_view::npos);
            EXPECT_NE(form.front(), '\n');
            EXPECT_NE(form.back(), '\n');
            EXPECT_LE(textLines(id, language).size(), 11u); // the message box has eleven lines
        }
    }
}

TEST(TextCatalogue, line_counts_per_language_follow_the_message_box_layout) {
    // English, French, German, Japanese, simplified Chinese, traditional Chinese.
    const std::vector<std::pair<TextId, std::vector<std::size_t>>> multiLine = {
        {TextId::NewVersionNotice, {2, 2, 3, 3, 2, 2}},    {TextId::AccessDenied, {2, 2, 2, 2, 2, 2}},
        {TextId::WriteUnconfirmed, {2, 2, 2, 2, 2, 2}},    {TextId::SwitchHelpKite, {2, 2, 2, 2, 2, 2}},
        {TextId::SwitchHelpMossFern, {2, 2, 2, 2, 2, 2}},  {TextId::PaletteHelpKite, {8, 8, 8, 8, 8, 8}},
        {TextId::PaletteHelpMoss, {8, 8, 8, 8, 8, 8}},     {TextId::PaletteHelpFern, {8, 8, 8, 8, 8, 8}},
        {TextId::PaletteHelpKeyboard, {3, 3, 3, 3, 3, 3}}, {TextId::ProfileHelp, {2, 2, 2, 2, 2, 2}},
        {TextId::PrioritizeHelp, {8, 8, 8, 8, 8, 8}},      {TextId::FileAlreadyExists, {1, 2, 2, 2, 1, 1}},
        {TextId::SensitivityHelp, {4, 6, 6, 6, 4, 4}},     {TextId::DeadZoneHelp, {5, 6, 6, 7, 4, 4}},
        {TextId::AccelerationHelp, {6, 8, 7, 7, 5, 5}},    {TextId::ButtonOptionsHelp, {9, 8, 10, 8, 4, 4}},
        {TextId::NoOnScreenKeyboard, {2, 2, 2, 3, 2, 2}},
    };
    std::set<TextId> listed;
    for (const auto& [id, counts] : multiLine) {
        listed.insert(id);
        for (int language = 0; language < kLanguageCount; ++language) {
            EXPECT_EQ(textLines(id, language).size(), counts[static_cast<std::size_t>(language)])
                << "entry " << static_cast<int>(id) << " language " << language;
        }
    }
    for (TextId id : allIds()) {
        if (listed.count(id) == 0) {
            for (int language = 0; language < kLanguageCount; ++language) {
                EXPECT_EQ(textLines(id, language).size(), 1u)
                    << "entry " << static_cast<int>(id) << " language " << language;
            }
        }
    }
}

TEST(TextCatalogue, empty_help_lines_keep_their_place) {
    for (int language = 0; language < kLanguageCount; ++language) {
        const auto lines = textLines(TextId::PrioritizeHelp, language);
        ASSERT_EQ(lines.size(), 8u);
        EXPECT_TRUE(lines[1].empty());
        EXPECT_EQ(lines[2].substr(0, 3), "\xE3\x80\x80"); // ideographic space indent
        EXPECT_EQ(lines[7].substr(0, 3), "\xE3\x80\x80");
    }
    const auto notice = textLines(TextId::NewVersionNotice, 2);
    EXPECT_EQ(notice.back(), " "); // the link stands in this line
}

struct Sample {
    TextId id;
    int language;
    std::string_view bytes;
};

TEST(TextCatalogue, shown_texts_are_byte_exact_in_every_language) {
    const Sample samples[] = {
        // English
        {TextId::ZavNotConnected, 0, "ZAV not connected."},
        {TextId::MouseNotConnected, 0, "Mouse not Connected!"},
        {TextId::FileAlreadyExists, 0, "File already exists,please enter again!"},
        {TextId::NewVersionNotice, 0, "New version can be download!\n "},
        {TextId::ToggleAdsLock, 0, "ADSLock"},
        {TextId::InvalidProfileName, 0, "Invalid profile name."},
        {TextId::SaveFailed, 0, "Save failed."},
        {TextId::AccessDenied, 0,
         "ZAV found, but access was denied.\nInstall the udev rule 70-zavora.rules and plug the adapter in "
         "again."},
        // French
        {TextId::OverwriteError, 1,
         "Erreur d'\xC3\xA9"
         "crasement de fichier."},
        {TextId::FileAlreadyExists, 1,
         "Un profil existe deja sous ce nom.Veuillez choisir un autre\nnom pour ce profil!"},
        {TextId::ToggleAdsLock, 1, "V\xC3\xA9rrouillage ADS"},
        {TextId::RefuseFn, 1, "Vous ne pouvez pas attribuer de fonction \xC3\xA0 ce bouton"},
        {TextId::AccelerationTitle, 1, "R\xC3\xA9glage de l'acc\xC3\xA9l\xC3\xA9ration"},
        {TextId::CaptionWrite, 1, "Sync"},
        {TextId::FnButton1, 1, "Fn+Bouton1="},
        // German
        {TextId::OverwriteError, 2,
         "Fehler \xC3\xBC"
         "berschreiben."},
        {TextId::MouseNotConnected, 2, "Maus nicht verbunden!"},
        {TextId::DeleteQuestion, 2,
         "Gel\xC3\xB6schte Daten k\xC3\xB6nnen nicht wiederhergestellt werden.Fortfahren?"},
        {TextId::NewVersionNotice, 2,
         "Eine neue Version der Software ist verf\xC3\xBCgbar.Wollen Sie das\nUpdate ausf\xC3\xBChren?\n "},
        {TextId::CaptionInputKey, 2, "Input Taste:"},
        {TextId::CaptionDeadZoneKite, 2, "Totzone"},
        {TextId::CaptionDeadZone, 2, "TotZone"},
        // Japanese
        {TextId::ZavNotConnected, 3,
         "\xEF\xBC\xBA\xEF\xBC\xA1\xEF\xBC\xB6\xE3\x81\x8C\xE6\x8E\xA5\xE7\xB6\x9A\xE3\x81\x95\xE3\x82\x8C"
         "\xE3\x81"
         "\xA6\xE3\x81\x84\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93."},
        {TextId::OfficialProfileCannotChange, 3,
         "\xE5\x85\xAC\xE5\xBC\x8F\xE3\x83\x97\xE3\x83\xAD\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB"
         "\xE3\x81"
         "\xAF\xE5\xA4\x89\xE6\x9B\xB4\xE3\x81\x8C\xE5\x87\xBA\xE6\x9D\xA5\xE3\x81\xBE\xE3\x81\x9B\xE3\x82"
         "\x93\xE3"
         "\x80\x82"},
        {TextId::ModePcPad, 3, "\xEF\xBC\xB0\xEF\xBC\xA3\xE3\x83\x91\xE3\x83\x83\xE3\x83\x89"},
        {TextId::CaptionNc, 3, "\xE7\x84\xA1\xE5\x8A\xB9\xE5\x8C\x96"},
        {TextId::DeadZoneTitle, 3,
         "\xE3\x83\x87\xE3\x83\x83\xE3\x83\x89\xE3\x82\xBE\xE3\x83\xBC\xE3\x83\xB3\xE8\xA8"
         "\xAD\xE5\xAE\x9A"},
        {TextId::CaptionButtonOptions, 3,
         "\xE3\x83\x9C\xE3\x82\xBF\xE3\x83\xB3\xE3\x82\xAA\xE3\x83\x97\xE3\x82\xB7\xE3\x83\xA7\xE3\x83\xB3"
         "\xE8\xA8"
         "\xAD\xE5\xAE\x9A"},
        // simplified Chinese
        {TextId::LanguageLabel, 4, "\xE8\xAF\xAD\xE8\xA8\x80"},
        {TextId::ModeKeyboard, 4, "PC\xE9\x94\xAE\xE7\x9B\x98"},
        {TextId::RefuseFixedKey, 4,
         "\xE6\xAD\xA4\xE6\x8C\x89\xE9\x94\xAE\xE6\x97\xA0\xE6\xB3\x95\xE4\xBD\xBF\xE7\x94\xA8\xE6\x98\xA0"
         "\xE5\xB0"
         "\x84\xE5\x8A\x9F\xE8\x83\xBD."},
        {TextId::ButtonOptionsTitle, 4,
         "\xE6\x8C\x89\xE9\x94\xAE\xE7\x81\xB5\xE6\x95\x8F\xE5\xBA\xA6\xE8\xAE\xBE\xE7"
         "\xBD\xAE"},
        {TextId::CaptionNew, 4, "\xE6\x96\xB0\xE5\xBB\xBAProfile"},
        {TextId::NewVersionNotice, 4,
         "\xE5\x8F\x91\xE7\x8E\xB0\xE6\x96\xB0\xE7\x89\x88\xE6\x9C\xAC\xEF\xBC\x8C\xE9\x9C\x80\xE8\xA6\x81"
         "\xE5\x8D"
         "\x87\xE7\xBA\xA7\xE8\xBD\xAF\xE4\xBB\xB6\xE5\x90\x97?\n "},
        // traditional Chinese
        {TextId::LanguageLabel, 5, "\xE8\xAA\x9E\xE8\xA8\x80"},
        {TextId::MouseNotConnected, 5, "\xE6\xBB\x91\xE9\xBC\xA0\xE6\x9C\xAA\xE9\x80\xA3\xE6\x8E\xA5!"},
        {TextId::OfficialProfileCannotChange, 5,
         "\xE5\xAE\x98\xE6\x96\xB9\xE6\x96\x87\xE4\xBB\xB6\xE4\xB8\x8D\xE8\x83\xBD\xE8\xA2\xAB\xE4\xBF\xAE"
         "\xE6\x94"
         "\xB9!"},
        {TextId::LStickPanelTitle, 5, "\xE5\xB7\xA6\xE6\x90\x96\xE6\x9D\x86\xE8\xA8\xAD\xE5\xAE\x9A"},
        {TextId::SnipeButtonY, 5, "Snipe\xE6\x8C\x89\xE9\x8D\xB5(Y\xE8\xBB\xB8)"},
        {TextId::CaptionInputKey, 5, "\xE6\x98\xA0\xE5\xB0\x84\xE6\x8C\x89\xE9\x8D\xB5:"},
    };
    for (const Sample& s : samples) {
        EXPECT_EQ(text(s.id, s.language), s.bytes)
            << "entry " << static_cast<int>(s.id) << " language " << s.language;
    }
}

// Messages the program adds for failures it reports itself.
TEST(TextCatalogue, profile_load_and_rename_failures_are_told_in_every_language) {
    const std::vector<std::pair<TextId, std::vector<std::string_view>>> rows = {
        {TextId::ProfileCannotBeLoaded,
         {"This profile cannot be loaded.", "Ce profil ne peut pas être chargé.",
          "Dieses Profil kann nicht geladen werden.", "このプロファイルは読み込めません.",
          "无法读取该Profile.", "無法讀取該Profile."}},
        {TextId::OldProfileNotDeleted,
         {"Saved, but the old profile could not be deleted.",
          "Enregistré, mais l'ancien profil n'a pas pu être supprimé.",
          "Gespeichert, aber das alte Profil konnte nicht gelöscht werden.",
          "保存しましたが、元のプロファイルを削除できませんでした.", "已保存,但无法删除原Profile.",
          "已保存,但無法刪除原Profile."}},
    };
    for (const auto& [id, forms] : rows) {
        for (int language = 0; language < kLanguageCount; ++language) {
            EXPECT_EQ(text(id, language), forms[static_cast<std::size_t>(language)])
                << "language " << language;
        }
    }
}

// The restore texts name the Write button as its caption reads in the same language ("Sync" in French and
// German), so that the user finds the button they mean.
TEST(TextCatalogue, restore_texts_name_the_write_button_by_its_caption) {
    for (TextId id : {TextId::RestoreBeforeLastWrite, TextId::RestoreQuestion, TextId::NothingKept}) {
        for (int language = 0; language < kLanguageCount; ++language) {
            EXPECT_NE(text(id, language).find(text(TextId::CaptionWrite, language)), std::string_view::npos)
                << static_cast<int>(id) << " in language " << language;
        }
    }
}

TEST(TextCatalogue, help_texts_keep_the_spacing_of_each_page) {
    EXPECT_EQ(textLines(TextId::PaletteHelpKite, 0)[0],
              "Edit button assignment by drag-and-dropping the desired button.");
    EXPECT_EQ(textLines(TextId::PaletteHelpMoss, 0)[0],
              "Edit button assignment by drag-and-dropping the desired button");
    EXPECT_EQ(textLines(TextId::PaletteHelpFern, 0)[0],
              "Edit button assignment by drag-and-dropping the desired button ");
    EXPECT_EQ(textLines(TextId::PaletteHelpKite, 0)[4],
              "1.'Wa' = Walk Button    Hold to decrease speed of movement.");
    EXPECT_EQ(textLines(TextId::PaletteHelpMoss, 0)[4],
              "1.'Wa' = Walk Button Hold to decrease speed of movement.");
    EXPECT_EQ(textLines(TextId::PaletteHelpFern, 0)[5],
              "2.'Qu'= Quick Button   Hold to increase mouse sensitivity.");
    EXPECT_EQ(textLines(TextId::SwitchHelpKite, 0)[1], "  switch to 'off'");
    EXPECT_EQ(textLines(TextId::SwitchHelpMossFern, 0)[1], "  switch to 'off'.");
    EXPECT_EQ(textLines(TextId::SensitivityHelp, 0)[1], "  Increase sensitivity if aiming feels sluggish.  ");
    EXPECT_EQ(textLines(TextId::DeadZoneHelp, 0)[4], "3.Please adjust if mouse movement in unresponsive. ");
    EXPECT_EQ(textLines(TextId::ButtonOptionsHelp, 0)[3],
              "  game andthe inclination of the handle, and is used for");
    EXPECT_EQ(textLines(TextId::PrioritizeHelp, 0)[7], "\xE3\x80\x80\xE2\x86\x91, \xE2\x86\x93.");
}

TEST(TextCatalogue, access_message_names_the_udev_rule_in_every_language) {
    for (int language = 0; language < kLanguageCount; ++language) {
        EXPECT_NE(textLines(TextId::AccessDenied, language)[1].find("70-zavora.rules"),
                  std::string_view::npos)
            << "language " << language;
    }
}

TEST(TextCatalogue, language_outside_the_list_falls_back_to_english) {
    EXPECT_EQ(text(TextId::WriteComplete, 6), "Write complete.");
    EXPECT_EQ(text(TextId::WriteComplete, -1), "Write complete.");
    EXPECT_EQ(text(TextId::WriteComplete, Language::German), "Gespeichert.");
    EXPECT_EQ(languageName(7), "English");
}

TEST(LanguageList, names_each_language_in_its_own_script_in_list_order) {
    const std::string_view names[] = {"English",
                                      "Fran\xC3\xA7"
                                      "ais",
                                      "Deutsch",
                                      "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",
                                      "\xE4\xB8\xAD\xE6\x96\x87(\xE7\xAE\x80)",
                                      "\xE4\xB8\xAD\xE6\x96\x87(\xE7\xB9\x81)"};
    for (int index = 0; index < kLanguageCount; ++index) {
        EXPECT_EQ(languageName(index), names[index]);
    }
}

TEST(LanguageChoice, system_language_identifiers_map_row_by_row) {
    const std::pair<int, int> rows[] = {
        {1033, 0},  {2057, 0},  {3081, 0}, {4105, 0}, {5129, 0}, {6153, 0}, {7177, 0}, {8201, 0}, {9225, 0},
        {10249, 0}, {11273, 0}, {1036, 1}, {2060, 1}, {3084, 1}, {4108, 1}, {5132, 1}, {1031, 2}, {2055, 2},
        {3079, 2},  {4103, 2},  {5127, 2}, {1041, 3}, {2052, 4}, {4100, 4}, {1028, 5}, {3076, 5},
    };
    for (const auto& [langId, language] : rows) {
        EXPECT_EQ(languageForLangId(langId), language) << "identifier " << langId;
        EXPECT_EQ(startupLanguage(langId), language) << "identifier " << langId;
    }
}

TEST(LanguageChoice, identifiers_without_an_entry_keep_the_first_language) {
    // Spanish, Italian, Korean, English (Zimbabwe), French (Monaco), Chinese (Macao), nothing.
    for (int langId : {1034, 1040, 1042, 12297, 6156, 5124, 0, -1}) {
        EXPECT_EQ(languageForLangId(langId), -1) << "identifier " << langId;
        EXPECT_EQ(startupLanguage(langId), kDefaultLanguage) << "identifier " << langId;
    }
    EXPECT_EQ(kDefaultLanguage, static_cast<int>(Language::English));
}

TEST(LanguageChoice, canadian_french_system_starts_with_sync_buttons) {
    EXPECT_EQ(text(TextId::CaptionWrite, startupLanguage(3084)), "Sync");
}

TEST(ModeList, second_model_offers_keyboard_only_from_capability_five) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(modeListTexts(1, 0, 0), (V{"Playstation4", "Playstation3", "PC-Pad", "KeyBoard"}));
    EXPECT_EQ(modeListTexts(3, 9, 2), (V{"Playstation4", "Playstation3", "PC-Pad", "Tastatur"}));
    EXPECT_EQ(modeListTexts(2, 4, 0), (V{"Playstation4", "Playstation3", "PC-Pad"}));
    EXPECT_EQ(modeListTexts(2, 5, 1), (V{"Playstation4", "Playstation3", "Clavier"}));
    EXPECT_EQ(modeListTexts(2, 4, 3), (V{"Playstation4", "Playstation3",
                                         "\xEF\xBC\xB0\xEF\xBC\xA3\xE3\x83\x91\xE3\x83\x83\xE3\x83\x89"}));
    EXPECT_EQ(modeListTexts(2, 255, 5), (V{"Playstation4", "Playstation3", "PC\xE9\x8D\xB5\xE7\x9B\xA4"}));
    EXPECT_TRUE(modeListTexts(0, 5, 0).empty());
}

TEST(ProfileSlotList, second_model_has_one_slot) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(profileSlotTexts(1), (V{"ProFile1", "ProFile2", "ProFile3"}));
    EXPECT_EQ(profileSlotTexts(2), (V{"ProFile"}));
    EXPECT_EQ(profileSlotTexts(3), (V{"ProFile1", "ProFile2", "ProFile3"}));
    EXPECT_EQ(text(TextId::ProfileSlotBlank, 0), " ");
}

TEST(PageHelp, each_page_shows_its_own_help) {
    EXPECT_EQ(paletteHelp(1, 0), TextId::PaletteHelpKite);
    EXPECT_EQ(paletteHelp(2, 1), TextId::PaletteHelpMoss);
    EXPECT_EQ(paletteHelp(3, 2), TextId::PaletteHelpFern);
    for (int model = 1; model <= 3; ++model) {
        EXPECT_EQ(paletteHelp(model, 3), TextId::PaletteHelpKeyboard);
    }
    EXPECT_EQ(switchHelp(1), TextId::SwitchHelpKite);
    EXPECT_EQ(switchHelp(2), TextId::SwitchHelpMossFern);
    EXPECT_EQ(switchHelp(3), TextId::SwitchHelpMossFern);
}

TEST(CaptionPass, relabels_tabs_and_page_controls) {
    EXPECT_EQ(text(*captionFor(0, 1159), 3), "ZAV A1");
    EXPECT_EQ(text(*captionFor(0, 1160), 0), "ZAV MOSS");
    EXPECT_EQ(text(*captionFor(0, 1161), 4), "ZAV C1");
    EXPECT_EQ(captionFor(1, 1137), TextId::CaptionDPad);
    EXPECT_EQ(captionFor(1, 1141), TextId::CaptionLStick);
    EXPECT_FALSE(captionFor(2, 1137).has_value()); // the second page's own "L-Stick Settings" button
    EXPECT_FALSE(captionFor(3, 1141).has_value());
    EXPECT_EQ(captionFor(1, 1147), TextId::CaptionNc);
    EXPECT_EQ(captionFor(2, 1150), TextId::CaptionNc);
    EXPECT_FALSE(captionFor(2, 1147).has_value());
    EXPECT_EQ(text(*captionFor(1, 1132), 2), "Totzone");
    EXPECT_EQ(text(*captionFor(2, 1132), 2), "TotZone");
    EXPECT_EQ(text(*captionFor(3, 1132), 2), "TotZone");
    EXPECT_FALSE(captionFor(0, 1007).has_value());
}

TEST(CaptionPass, every_control_is_relabelled_once_per_window) {
    std::set<std::pair<int, int>> seen;
    int perWindow[4] = {0, 0, 0, 0};
    for (const Caption& c : captions()) {
        EXPECT_TRUE(seen.insert({c.window, c.control}).second) << c.window << "/" << c.control;
        ++perWindow[c.window];
    }
    EXPECT_EQ(perWindow[0], 3);
    EXPECT_EQ(perWindow[1], 19);
    EXPECT_EQ(perWindow[2], 17);
    EXPECT_EQ(perWindow[3], 17);
}

} // namespace
} // namespace zav
