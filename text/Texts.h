#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace zav {

// The language of every visible text; the value is the position in the main window's language list.
enum class Language : int {
    English = 0,
    French = 1,
    German = 2,
    Japanese = 3,
    SimplifiedChinese = 4,
    TraditionalChinese = 5
};
inline constexpr int kLanguageCount = 6;

// The language kept at start-up when the system language has no entry: the list already shows
// entry 0 and the controls keep the captions they were built with.
inline constexpr int kDefaultLanguage = 0;

// LanguageIndex for a Windows language identifier, or -1 when the identifier has no entry.
int languageForLangId(int langId);

// The LanguageIndex the program starts in: languageForLangId, or kDefaultLanguage without an entry.
int startupLanguage(int langId);

// One entry per visible text. Multi-line texts (help texts, some messages) keep their lines
// separated by '\n'; each line is one line of the message box.
enum class TextId : int {
    // Entries of the language list; each language is named in its own script.
    LanguageNameEnglish,
    LanguageNameFrench,
    LanguageNameGerman,
    LanguageNameJapanese,
    LanguageNameSimplifiedChinese,
    LanguageNameTraditionalChinese,

    // Main window: title, the label beside the language list, the model tabs.
    WindowTitle,
    LanguageLabel,
    TabKite,
    TabMoss,
    TabFern,
    // Notice of a newer program version; its last line holds one space, where the link is shown.
    NewVersionNotice,

    // Captions that the caption pass sets on the assignment pages.
    CaptionButtonOptions,
    CaptionLStick,
    CaptionDPad,
    CaptionNew,
    CaptionWrite,
    CaptionCopy,
    CaptionSave,
    CaptionDefault,
    CaptionDelete,
    CaptionCancel,
    CaptionNc,
    CaptionSensitivity,
    CaptionDeadZoneKite,
    CaptionDeadZone,
    CaptionAcceleration,
    CaptionInputKey,
    GroupButtons,
    GroupDPad,
    GroupLStick,
    GroupSpecial,

    // Page controls that keep one caption in every language.
    CaptionOnScreenKeyboard,
    CaptionVersion,
    CaptionLStickSettings,
    CaptionFn,
    SwitchOff,
    SwitchOn,

    // Entries of the mode list and of the profile-slot list.
    ModePlaystation4,
    ModePlaystation3,
    ModePcPad,
    ModeKeyboard,
    ProfileSlot1,
    ProfileSlot2,
    ProfileSlot3,
    ProfileSlotSingle,
    ProfileSlotBlank,

    // Messages of writes and slot changes, and the pictures of keypad and mouse.
    ZavNotConnected,
    OverwriteError,
    WriteComplete,
    MouseNotConnected,
    KeypadNotConnected,
    // An adapter is attached but may not be opened.
    AccessDenied,
    // The write went out but reading the bank back to check it failed.
    WriteUnconfirmed,
    // The Write button's menu: put back what the last Write overwrote; its question; nothing kept yet.
    RestoreBeforeLastWrite,
    RestoreQuestion,
    NothingKept,

    // Texts painted on the assignment pages.
    AssignPad,
    MouseSettings,
    PrioritizePressedButton,
    FnButton1,
    FnButton2,
    FnButton3,
    FnButton4,

    // Help boxes of the assignment pages.
    SwitchHelpKite,
    SwitchHelpMossFern,
    PaletteHelpKite,
    PaletteHelpMoss,
    PaletteHelpFern,
    PaletteHelpKeyboard,
    ProfileHelp,
    PrioritizeHelp,

    // Refused drops of a palette button.
    RefuseFn,
    RefuseFixedKey,

    // "SC KBD" found none of the on-screen keyboards it tries; the text names them.
    NoOnScreenKeyboard,

    // What assistive technology calls a key slot: %1 its number, %2 its function.
    KeySlotName,

    // Messages and questions of the profile list and its buttons.
    PleaseChooseFile,
    SaveAsNewQuestion,
    OfficialProfileCannotChange,
    SaveSucceeded,
    FileAlreadyExists,
    ProfileCannotBeDeleted,
    DeleteQuestion,
    InvalidProfileName,
    SaveFailed,
    // A listed profile whose file cannot be read or names no mode; a rename whose old file stays.
    ProfileCannotBeLoaded,
    OldProfileNotDeleted,

    // Settings dialogs and the left-stick panel.
    SensitivityTitle,
    SensitivityHelp,
    DeadZoneTitle,
    DeadZoneHelp,
    SettingsModeNormal,
    SettingsModeAds,
    AccelerationTitle,
    AccelerationHelp,
    AxisX,
    AxisY,
    ButtonOptionsTitle,
    ToggleBackLight,
    ToggleAdsLock,
    WalkButton,
    SnipeButtonX,
    SnipeButtonY,
    ButtonOptionsHelp,
    LStickPanelTitle,

    // Buttons of dialogs and message boxes: English in every language.
    ButtonOk,
    ButtonCancel,
    ButtonYes,
    ButtonNo,
    ButtonClose,
    ButtonHelp,

    Count
};
inline constexpr int kTextCount = static_cast<int>(TextId::Count);

// The UTF-8 text in a language; a language outside 0..5 gives the English form.
std::string_view text(TextId id, int language);
inline std::string_view text(TextId id, Language language) {
    return text(id, static_cast<int>(language));
}

// The text split at '\n', one entry per message-box line (empty lines kept).
std::vector<std::string_view> textLines(TextId id, int language);

// Entry of the language list at a LanguageIndex (English for an index outside 0..5).
std::string_view languageName(int index);

// Entries of a page's mode list. Models 1 and 3 list all four modes; model 2 lists three, the third
// being the keyboard word when its adapter reports a capability of 5 or more, else the PC pad word.
std::vector<std::string_view> modeListTexts(int model, int capability, int language);

// Entries of a page's profile-slot list (the blank entry is added only while no adapter is connected).
std::vector<std::string_view> profileSlotTexts(int model);

// Palette help of a page: one per model in the console modes, one for keyboard mode (mode 3).
TextId paletteHelp(int model, int mode);

// Help of the device switch button of a page.
TextId switchHelp(int model);

// Captions that the caption pass sets: window 0 is the main window, 1..3 the page of that model.
struct Caption {
    int window;
    int control;
    TextId id;
};
std::span<const Caption> captions();
std::optional<TextId> captionFor(int window, int control);

} // namespace zav
