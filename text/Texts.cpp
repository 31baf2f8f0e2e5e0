#include "text/Texts.h"

#include "text/ModelTexts.h"

#include <array>
#include <cstddef>

namespace zav {

namespace {

// Windows language identifiers that select a language; every other identifier selects nothing.
struct LangIdRow {
    int langId;
    int language;
};

constexpr std::array kLangIds{
    // the English variants
    LangIdRow{1033, 0},
    LangIdRow{2057, 0},
    LangIdRow{3081, 0},
    LangIdRow{4105, 0},
    LangIdRow{5129, 0},
    LangIdRow{6153, 0},
    LangIdRow{7177, 0},
    LangIdRow{8201, 0},
    LangIdRow{9225, 0},
    LangIdRow{10249, 0},
    LangIdRow{11273, 0},
    // the French variants
    LangIdRow{1036, 1},
    LangIdRow{2060, 1},
    LangIdRow{3084, 1},
    LangIdRow{4108, 1},
    LangIdRow{5132, 1},
    // the German variants
    LangIdRow{1031, 2},
    LangIdRow{2055, 2},
    LangIdRow{3079, 2},
    LangIdRow{4103, 2},
    LangIdRow{5127, 2},
    LangIdRow{1041, 3},
    // Chinese: mainland and Singapore simplified, Taiwan and Hong Kong traditional
    LangIdRow{2052, 4},
    LangIdRow{4100, 4},
    LangIdRow{1028, 5},
    LangIdRow{3076, 5},
};

using Forms = std::array<std::string_view, kLanguageCount>;

struct TextRow {
    TextId id;
    Forms forms; // English, French, German, Japanese, simplified Chinese, traditional Chinese
};

// A text that reads the same in every language.
constexpr Forms same(std::string_view s) {
    return {s, s, s, s, s, s};
}

constexpr std::array kTexts{
    // Entries of the language list.
    TextRow{TextId::LanguageNameEnglish, same("English")},
    TextRow{TextId::LanguageNameFrench, same("Français")},
    TextRow{TextId::LanguageNameGerman, same("Deutsch")},
    TextRow{TextId::LanguageNameJapanese, same("日本語")},
    TextRow{TextId::LanguageNameSimplifiedChinese, same("中文(简)")},
    TextRow{TextId::LanguageNameTraditionalChinese, same("中文(繁)")},

    // Main window.
    TextRow{TextId::WindowTitle, same("ZAV Software")},
    TextRow{TextId::LanguageLabel, {"Language", "Language", "Language", "Language", "语言", "語言"}},
    TextRow{TextId::TabKite, {"ZAV KITE", "ZAV KITE", "ZAV KITE", "ZAV A1", "ZAV A1", "ZAV A1"}},
    TextRow{TextId::TabMoss, {"ZAV MOSS", "ZAV MOSS", "ZAV MOSS", "ZAV B1", "ZAV B1", "ZAV B1"}},
    TextRow{TextId::TabFern, {"ZAV FERN", "ZAV FERN", "ZAV FERN", "ZAV C1", "ZAV C1", "ZAV C1"}},
    TextRow{TextId::NewVersionNotice,
            {"New version can be download!\n"
             " ",
             "Une nouvelle version est disponible au téléchargement!\n"
             " ",
             "Eine neue Version der Software ist verfügbar.Wollen Sie das\n"
             "Update ausführen?\n"
             " ",
             "新しいバージョンがあります.ソフトウェアの\n"
             "アップデートを行いますか?\n"
             " ",
             "发现新版本，需要升级软件吗?\n"
             " ",
             "發現新版本，需要升級軟體嗎?\n"
             " "}},

    // Captions of the assignment pages.
    TextRow{TextId::CaptionButtonOptions,
            {"Button Option Settings", "Réglage des touches", "Spezialtastenoptionen", "ボタンオプション設定",
             "按键设置", "按鍵設置"}},
    TextRow{TextId::CaptionLStick, {"L-Stick", "L-Stick", "L-Stick", "L-Stick", "左摇杆", "左搖桿"}},
    TextRow{TextId::CaptionDPad, {"D-Pad", "D-Pad", "D-Pad", "D-Pad", "方向键", "方向鍵"}},
    TextRow{TextId::CaptionNew, {"New", "Nouveau", "Neu", "新規作成", "新建Profile", "新建Profile"}},
    TextRow{TextId::CaptionWrite, {"Write", "Sync", "Sync", "書き込み", "写入", "寫入"}},
    TextRow{TextId::CaptionCopy, {"Copy", "Copier", "Kopieren", "コピー", "复制Profile", "複製Profile"}},
    TextRow{TextId::CaptionSave, {"Save", "Enregistrer", "Speichern", "保存", "保存", "保存"}},
    TextRow{TextId::CaptionDefault,
            {"Default", "Par défaut", "Default", "デフォルト", "按键复位", "按鍵重定"}},
    TextRow{TextId::CaptionDelete, {"Delete", "Supprimer", "Löschen", "削除", "删除", "刪除"}},
    TextRow{TextId::CaptionCancel, {"Cancel", "Annuler", "Abbrechen", "キャンセル", "取消", "取消"}},
    TextRow{TextId::CaptionNc, {"NC", "Aucun", "Keine", "無効化", "无效化", "無效化"}},
    TextRow{TextId::CaptionSensitivity,
            {"Sensitivity", "DPI", "DPI", "センサー解像度", "灵敏度数值", "靈敏度數值"}},
    TextRow{TextId::CaptionDeadZoneKite,
            {"Dead Zone", "Dead Zone", "Totzone", "デッドゾーン", "Dead Zone", "Dead Zone"}},
    TextRow{TextId::CaptionDeadZone,
            {"Dead Zone", "Dead Zone", "TotZone", "デッドゾーン", "Dead Zone", "Dead Zone"}},
    TextRow{TextId::CaptionAcceleration,
            {"Acceleration", "Accélération", "Beschleunigung", "加速度", "加速度", "加速度"}},
    TextRow{TextId::CaptionInputKey,
            {"InputKey:", "Touche:", "Input Taste:", "割り当てボタン:", "映射按键:", "映射按鍵:"}},
    TextRow{TextId::GroupButtons, {"Buttons", "Touches", "Tasten", "ボタン", "按键", "按鍵"}},
    TextRow{TextId::GroupDPad, {"D-PAD", "D-PAD", "D-PAD", "D-PAD", "方向键", "方向鍵"}},
    TextRow{TextId::GroupLStick, {"LStick", "LStick", "LStick", "LStick", "左摇杆", "左搖桿"}},
    TextRow{TextId::GroupSpecial, {"Special", "Fonctions", "Spezial", "スペシャル", "特殊键", "特殊鍵"}},

    // Page controls with one caption in every language.
    TextRow{TextId::CaptionOnScreenKeyboard, same("SC KBD")},
    TextRow{TextId::CaptionVersion, same("V1.02")},
    TextRow{TextId::CaptionLStickSettings, same("L-Stick Settings")},
    TextRow{TextId::CaptionFn, same("Fn")},
    TextRow{TextId::SwitchOff, same("OFF")},
    TextRow{TextId::SwitchOn, same("ON")},

    // Mode list and profile-slot list.
    TextRow{TextId::ModePlaystation4, same("Playstation4")},
    TextRow{TextId::ModePlaystation3, same("Playstation3")},
    TextRow{TextId::ModePcPad, {"PC-Pad", "PC-Pad", "PC-Pad", "ＰＣパッド", "PC游戏模式", "PC遊戲模式"}},
    TextRow{TextId::ModeKeyboard, {"KeyBoard", "Clavier", "Tastatur", "キーボード", "PC键盘", "PC鍵盤"}},
    TextRow{TextId::ProfileSlot1, same("ProFile1")},
    TextRow{TextId::ProfileSlot2, same("ProFile2")},
    TextRow{TextId::ProfileSlot3, same("ProFile3")},
    TextRow{TextId::ProfileSlotSingle, same("ProFile")},
    TextRow{TextId::ProfileSlotBlank, same(" ")},

    // Writes, slot changes, keypad and mouse pictures.
    TextRow{TextId::ZavNotConnected,
            {"ZAV not connected.", "ZAV non-connecté.", "ZAV nicht verbunden.", "ＺＡＶが接続されていません.",
             "设备未连接.", "設備未連接."}},
    TextRow{TextId::OverwriteError,
            {"Overwrite error.", "Erreur d'écrasement de fichier.", "Fehler überschreiben.",
             "書き込みエラー.", "写入错误.", "寫入錯誤."}},
    TextRow{TextId::WriteComplete,
            {"Write complete.", "Enregistré avec succès.", "Gespeichert.", "書込みが完了しました.",
             "写入成功.", "寫入成功."}},
    TextRow{TextId::MouseNotConnected,
            {"Mouse not Connected!", "Souris non connectée!", "Maus nicht verbunden!",
             "マウスが接続されていません!", "鼠标未连接!", "滑鼠未連接!"}},
    TextRow{TextId::KeypadNotConnected,
            {"ZAV not Connected!", "ZAV non connecté!", "ZAV nicht verbunden!", "ＺＡＶが接続されていません!",
             "键盘未连接!", "鍵盤未連接!"}},
    TextRow{TextId::AccessDenied,
            {"ZAV found, but access was denied.\n"
             "Install the udev rule 70-zavora.rules and plug the adapter in again.",
             "ZAV détecté, mais l'accès a été refusé.\n"
             "Installez la règle udev 70-zavora.rules et rebranchez l'adaptateur.",
             "ZAV gefunden, aber der Zugriff wurde verweigert.\n"
             "udev-Regel 70-zavora.rules installieren und den Adapter neu einstecken.",
             "ＺＡＶが見つかりましたが、アクセスが拒否されました.\n"
             "udevルール 70-zavora.rules を導入し、アダプターを挿し直してください.",
             "已找到设备，但访问被拒绝.\n"
             "请安装udev规则 70-zavora.rules，然后重新插入设备.",
             "已找到設備，但存取被拒絕.\n"
             "請安裝udev規則 70-zavora.rules，然後重新插入設備."}},
    TextRow{TextId::WriteUnconfirmed,
            {"Written, but the check read failed.\nPlease press Write again.",
             "Écrit, mais la relecture de contrôle a échoué.\nVeuillez appuyer à nouveau sur Sync.",
             "Geschrieben, aber das Zurücklesen zur Prüfung ist fehlgeschlagen.\n"
             "Bitte erneut auf Sync drücken.",
             "書き込みましたが、確認の読み出しに失敗しました.\nもう一度書き込みを押してください.",
             "已写入，但校验读取失败.\n请再按一次写入.", "已寫入，但校驗讀取失敗.\n請再按一次寫入."}},
    TextRow{TextId::RestoreBeforeLastWrite,
            {"Restore as before the last Write", "Restaurer l'état d'avant le dernier Sync",
             "Zustand vor dem letzten Sync wiederherstellen", "最後の書き込み前に戻す", "恢复到上次写入前",
             "還原到上次寫入前"}},
    TextRow{TextId::RestoreQuestion,
            {"Restore the adapter's profiles as they were before the last Write?",
             "Restaurer les profils de l'adaptateur tels qu'ils étaient avant le dernier Sync?",
             "Profile des Adapters wie vor dem letzten Sync wiederherstellen?",
             "アダプターのプロファイルを最後の書き込み前の状態に戻しますか?",
             "是否将设备的Profile恢复到上次写入前的状态?", "是否將設備的Profile還原到上次寫入前的狀態?"}},
    TextRow{TextId::NothingKept,
            {"Nothing was kept from an earlier Write.", "Rien n'a été conservé d'un Sync précédent.",
             "Von einem früheren Sync wurde nichts aufbewahrt.",
             "以前の書き込みで保存されたデータはありません.", "没有保存先前写入前的数据.",
             "沒有保存先前寫入前的資料."}},

    // Painted on the assignment pages.
    TextRow{
        TextId::AssignPad,
        {"Assign Pad", "Assign Pad", "Zuordnungsauswahl", "アサイン設定", "按键映射模块", "按鍵映射模組"}},
    TextRow{TextId::MouseSettings,
            {"Mouse Settings", "Réglages souris", "Mauseinstellungen", "マウス設定", "鼠标设定", "滑鼠設定"}},
    TextRow{TextId::PrioritizePressedButton,
            {"Prioritize pressed button", "Priorité bouton actionné", "Tastenpriorität",
             "ボタンの後押し有効化", "优先处理最后按下的按键", "優先處理最後按下的按鍵"}},
    TextRow{TextId::FnButton1,
            {"Fn+Button1=", "Fn+Bouton1=", "Fn+Taste1=", "Fn+Button1=", "Fn+Button1=", "Fn+Button1="}},
    TextRow{TextId::FnButton2,
            {"Fn+Button2=", "Fn+Bouton2=", "Fn+Taste2=", "Fn+Button2=", "Fn+Button2=", "Fn+Button2="}},
    TextRow{TextId::FnButton3,
            {"Fn+Button3=", "Fn+Bouton3=", "Fn+Taste3=", "Fn+Button3=", "Fn+Button3=", "Fn+Button3="}},
    TextRow{TextId::FnButton4,
            {"Fn+Button4=", "Fn+Bouton4=", "Fn+Taste4=", "Fn+Button4=", "Fn+Button4=", "Fn+Button4="}},

    // Help boxes of the assignment pages.
    TextRow{TextId::SwitchHelpKite,
            {"1.Please change profile switch to 'Profile 01' and config\n"
             "  switch to 'off'",
             "1.Veuillez placer le sélecteur de profil sur 'Profile 01' et le\n"
             "  sélecteur de configuration sur 'off'",
             "1.Bitte stellen Sie den Profilschalter auf 'Profile 01' und den\n"
             "  Konfigurationsschalter auf 'off'",
             "1.プロファイルスイッチを'Profile 01'に、コンフィグ\n"
             "  スイッチを'off'にしてください",
             "1.请将Profile开关拨到'Profile 01'，并将设置\n"
             "  开关拨到'off'",
             "1.請將Profile開關撥到'Profile 01'，並將設置\n"
             "  開關撥到'off'"}},
    TextRow{TextId::SwitchHelpMossFern,
            {"1.Please change profile switch to 'Profile 01' and config\n"
             "  switch to 'off'.",
             "1.Veuillez placer le sélecteur de profil sur 'Profile 01' et le\n"
             "  sélecteur de configuration sur 'off'.",
             "1.Bitte stellen Sie den Profilschalter auf 'Profile 01' und den\n"
             "  Konfigurationsschalter auf 'off'.",
             "1.プロファイルスイッチを'Profile 01'に、コンフィグ\n"
             "  スイッチを'off'にしてください.",
             "1.请将Profile开关拨到'Profile 01'，并将设置\n"
             "  开关拨到'off'.",
             "1.請將Profile開關撥到'Profile 01'，並將設置\n"
             "  開關撥到'off'."}},
    TextRow{TextId::PaletteHelpKite,
            {"Edit button assignment by drag-and-dropping the desired button.\n"
             "to the Assign Panel.\n"
             "Button Explanation:\n"
             "ZAV-Specific Buttons Summary.\n"
             "1.'Wa' = Walk Button    Hold to decrease speed of movement.\n"
             "2.'Qu'= Quick Button   Hold to increase mouse sensitivity.\n"
             "3.'Sn'= Snipe Button   Hold to decrease mouse sensitivity.\n"
             "4.'NC'= Invalid",
             "Modifiez l'assignation en faisant glisser la touche voulue\n"
             "sur le panneau d'assignation.\n"
             "Explication des touches:\n"
             "Résumé des touches spécifiques ZAV.\n"
             "1.'Wa' = Touche Walk    Maintenir pour ralentir le déplacement.\n"
             "2.'Qu'= Touche Quick   Maintenir pour une souris plus sensible.\n"
             "3.'Sn'= Touche Snipe   Maintenir pour une souris moins sensible.\n"
             "4.'NC'= Aucune fonction",
             "Tastenbelegung ändern: gewünschte Taste per Drag-and-drop\n"
             "auf das Zuordnungsfeld ziehen.\n"
             "Tastenerklärung:\n"
             "Übersicht der ZAV-Spezialtasten.\n"
             "1.'Wa' = Gehen-Taste    Halten, um langsamer zu gehen.\n"
             "2.'Qu'= Quick-Taste   Halten, um die Mausempfindlichkeit zu erhöhen.\n"
             "3.'Sn'= Snipe-Taste   Halten, um die Mausempfindlichkeit zu senken.\n"
             "4.'NC'= Keine Funktion",
             "割り当てたいボタンをドラッグ＆ドロップして\n"
             "アサインパネルに置くと、割り当てを変更できます.\n"
             "ボタンの説明:\n"
             "ZAV専用ボタンの概要.\n"
             "1.'Wa' = ウォークボタン    押している間、移動速度が下がります.\n"
             "2.'Qu'= クイックボタン   押している間、マウス感度が上がります.\n"
             "3.'Sn'= スナイプボタン   押している間、マウス感度が下がります.\n"
             "4.'NC'= 無効",
             "将所需按键拖放到映射面板上,\n"
             "即可编辑按键映射.\n"
             "按键说明:\n"
             "ZAV专用按键一览.\n"
             "1.'Wa' = 慢走键    按住时降低移动速度.\n"
             "2.'Qu'= 快速键   按住时提高鼠标灵敏度.\n"
             "3.'Sn'= 狙击键   按住时降低鼠标灵敏度.\n"
             "4.'NC'= 无效",
             "將所需按鍵拖放到映射面板上,\n"
             "即可編輯按鍵映射.\n"
             "按鍵說明:\n"
             "ZAV專用按鍵一覽.\n"
             "1.'Wa' = 慢走鍵    按住時降低移動速度.\n"
             "2.'Qu'= 快速鍵   按住時提高滑鼠靈敏度.\n"
             "3.'Sn'= 狙擊鍵   按住時降低滑鼠靈敏度.\n"
             "4.'NC'= 無效"}},
    TextRow{TextId::PaletteHelpMoss,
            {"Edit button assignment by drag-and-dropping the desired button\n"
             "to the Assign Panel.\n"
             "Button Explanation:\n"
             "ZAV-Specific Buttons Summary.\n"
             "1.'Wa' = Walk Button Hold to decrease speed of movement.\n"
             "2.'Qu'= Quick Button Hold to increase mouse sensitivity.\n"
             "3.'Sn'= Snipe Button Hold to decrease mouse sensitivity.\n"
             "4.'NC'= Invalid",
             "Modifiez l'assignation en faisant glisser la touche voulue\n"
             "sur le panneau d'assignation.\n"
             "Explication des touches:\n"
             "Résumé des touches spécifiques ZAV.\n"
             "1.'Wa' = Touche Walk Maintenir pour ralentir le déplacement.\n"
             "2.'Qu'= Touche Quick Maintenir pour une souris plus sensible.\n"
             "3.'Sn'= Touche Snipe Maintenir pour une souris moins sensible.\n"
             "4.'NC'= Aucune fonction",
             "Tastenbelegung ändern: gewünschte Taste per Drag-and-drop\n"
             "auf das Zuordnungsfeld ziehen.\n"
             "Tastenerklärung:\n"
             "Übersicht der ZAV-Spezialtasten.\n"
             "1.'Wa' = Gehen-Taste Halten, um langsamer zu gehen.\n"
             "2.'Qu'= Quick-Taste Halten, um die Mausempfindlichkeit zu erhöhen.\n"
             "3.'Sn'= Snipe-Taste Halten, um die Mausempfindlichkeit zu senken.\n"
             "4.'NC'= Keine Funktion",
             "割り当てたいボタンをドラッグ＆ドロップして\n"
             "アサインパネルに置くと、割り当てを変更できます.\n"
             "ボタンの説明:\n"
             "ZAV専用ボタンの概要.\n"
             "1.'Wa' = ウォークボタン 押している間、移動速度が下がります.\n"
             "2.'Qu'= クイックボタン 押している間、マウス感度が上がります.\n"
             "3.'Sn'= スナイプボタン 押している間、マウス感度が下がります.\n"
             "4.'NC'= 無効",
             "将所需按键拖放到映射面板上,\n"
             "即可编辑按键映射.\n"
             "按键说明:\n"
             "ZAV专用按键一览.\n"
             "1.'Wa' = 慢走键 按住时降低移动速度.\n"
             "2.'Qu'= 快速键 按住时提高鼠标灵敏度.\n"
             "3.'Sn'= 狙击键 按住时降低鼠标灵敏度.\n"
             "4.'NC'= 无效",
             "將所需按鍵拖放到映射面板上,\n"
             "即可編輯按鍵映射.\n"
             "按鍵說明:\n"
             "ZAV專用按鍵一覽.\n"
             "1.'Wa' = 慢走鍵 按住時降低移動速度.\n"
             "2.'Qu'= 快速鍵 按住時提高滑鼠靈敏度.\n"
             "3.'Sn'= 狙擊鍵 按住時降低滑鼠靈敏度.\n"
             "4.'NC'= 無效"}},
    TextRow{TextId::PaletteHelpFern,
            {"Edit button assignment by drag-and-dropping the desired button \n"
             "to the Assign Panel.\n"
             "Button Explanation:\n"
             "ZAV-Specific Buttons Summary.\n"
             "1.'Wa' = Walk Button    Hold to decrease speed of movement.\n"
             "2.'Qu'= Quick Button   Hold to increase mouse sensitivity.\n"
             "3.'Sn'= Snipe Button   Hold to decrease mouse sensitivity.\n"
             "4.'NC'= Invalid",
             "Modifiez l'assignation en faisant glisser la touche voulue \n"
             "sur le panneau d'assignation.\n"
             "Explication des touches:\n"
             "Résumé des touches spécifiques ZAV.\n"
             "1.'Wa' = Touche Walk    Maintenir pour ralentir le déplacement.\n"
             "2.'Qu'= Touche Quick   Maintenir pour une souris plus sensible.\n"
             "3.'Sn'= Touche Snipe   Maintenir pour une souris moins sensible.\n"
             "4.'NC'= Aucune fonction",
             "Tastenbelegung ändern: gewünschte Taste per Drag-and-drop \n"
             "auf das Zuordnungsfeld ziehen.\n"
             "Tastenerklärung:\n"
             "Übersicht der ZAV-Spezialtasten.\n"
             "1.'Wa' = Gehen-Taste    Halten, um langsamer zu gehen.\n"
             "2.'Qu'= Quick-Taste   Halten, um die Mausempfindlichkeit zu erhöhen.\n"
             "3.'Sn'= Snipe-Taste   Halten, um die Mausempfindlichkeit zu senken.\n"
             "4.'NC'= Keine Funktion",
             "割り当てたいボタンをドラッグ＆ドロップして \n"
             "アサインパネルに置くと、割り当てを変更できます.\n"
             "ボタンの説明:\n"
             "ZAV専用ボタンの概要.\n"
             "1.'Wa' = ウォークボタン    押している間、移動速度が下がります.\n"
             "2.'Qu'= クイックボタン   押している間、マウス感度が上がります.\n"
             "3.'Sn'= スナイプボタン   押している間、マウス感度が下がります.\n"
             "4.'NC'= 無効",
             "将所需按键拖放到映射面板上, \n"
             "即可编辑按键映射.\n"
             "按键说明:\n"
             "ZAV专用按键一览.\n"
             "1.'Wa' = 慢走键    按住时降低移动速度.\n"
             "2.'Qu'= 快速键   按住时提高鼠标灵敏度.\n"
             "3.'Sn'= 狙击键   按住时降低鼠标灵敏度.\n"
             "4.'NC'= 无效",
             "將所需按鍵拖放到映射面板上, \n"
             "即可編輯按鍵映射.\n"
             "按鍵說明:\n"
             "ZAV專用按鍵一覽.\n"
             "1.'Wa' = 慢走鍵    按住時降低移動速度.\n"
             "2.'Qu'= 快速鍵   按住時提高滑鼠靈敏度.\n"
             "3.'Sn'= 狙擊鍵   按住時降低滑鼠靈敏度.\n"
             "4.'NC'= 無效"}},
    TextRow{TextId::PaletteHelpKeyboard,
            {"Mod KBD click you want to set and press keyboard or mouse \n"
             "and click OK or Cancel if you don't click OK or Cancel cannot\n"
             "cancel selection",
             "Mode clavier: cliquez sur la touche à régler, appuyez sur une touche\n"
             "du clavier ou de la souris, puis cliquez sur OK ou Annuler. Sans OK\n"
             "ou Annuler, la sélection reste active.",
             "Tastaturmodus: Taste anklicken, Tastatur- oder Maustaste drücken\n"
             "und mit OK oder Abbrechen abschließen. Ohne OK oder Abbrechen\n"
             "bleibt die Auswahl bestehen.",
             "キーボードモード:設定したいボタンをクリックし、\n"
             "キーボードかマウスを押してOKかキャンセルをクリックしてください.\n"
             "OKかキャンセルを押すまで選択は解除されません.",
             "键盘模式:点击要设置的按键,再按下键盘按键或鼠标按键,\n"
             "然后点击OK或取消.\n"
             "不点击OK或取消,选择将不会解除.",
             "鍵盤模式:點擊要設置的按鍵,再按下鍵盤按鍵或滑鼠按鍵,\n"
             "然後點擊OK或取消.\n"
             "不點擊OK或取消,選擇將不會解除."}},
    TextRow{TextId::ProfileHelp,
            {"1.You can edit your profiles using this software.\n"
             "2.Official profiles are also available.",
             "1.Vous pouvez modifier vos profils avec ce logiciel.\n"
             "2.Des profils officiels sont également disponibles.",
             "1.Mit dieser Software können Sie Ihre Profile bearbeiten.\n"
             "2.Offizielle Profile sind ebenfalls verfügbar.",
             "1.このソフトウェアでプロファイルを編集できます.\n"
             "2.公式プロファイルも利用できます.",
             "1.可以使用本软件编辑Profile.\n"
             "2.也可以使用官方Profile.",
             "1.可以使用本軟體編輯Profile.\n"
             "2.也可以使用官方Profile."}},
    TextRow{TextId::PrioritizeHelp,
            {"Prioritize pressed button settings\n"
             "\n"
             "　Choose which function the controller should prioritize when pressing\n"
             "　more than one button simultaneously.\n"
             "　When ON, it prioritizes the button which was pressed the latest.\n"
             "　When OFF, it prioritizes the button pressed first.\n"
             "　NOTE: This settings apply only to movement buttons: A, D, W, S, ←, →,\n"
             "　↑, ↓.",
             "Réglage Priorité bouton actionné\n"
             "\n"
             "　Choisissez la touche que la manette privilégie quand plusieurs\n"
             "　touches sont pressées en même temps.\n"
             "　ON: la touche pressée en dernier est prioritaire.\n"
             "　OFF: la touche pressée en premier est prioritaire.\n"
             "　NOTE: ce réglage ne concerne que les touches de déplacement: A, D,\n"
             "　W, S, ←, →, ↑, ↓.",
             "Einstellung Tastenpriorität\n"
             "\n"
             "　Legt fest, welche Taste Vorrang hat, wenn mehrere Tasten\n"
             "　gleichzeitig gedrückt werden.\n"
             "　ON: Die zuletzt gedrückte Taste hat Vorrang.\n"
             "　OFF: Die zuerst gedrückte Taste hat Vorrang.\n"
             "　HINWEIS: Gilt nur für die Bewegungstasten: A, D, W, S, ←, →,\n"
             "　↑, ↓.",
             "ボタンの後押し有効化の設定\n"
             "\n"
             "　複数のボタンを同時に押したときに、どのボタンを優先するかを\n"
             "　選択します.\n"
             "　ONのときは、最後に押したボタンを優先します.\n"
             "　OFFのときは、最初に押したボタンを優先します.\n"
             "　注意:この設定は移動ボタンにのみ有効です: A, D, W, S, ←, →,\n"
             "　↑, ↓.",
             "优先处理最后按下的按键设置\n"
             "\n"
             "　选择同时按下多个按键时,\n"
             "　控制器优先处理哪个按键.\n"
             "　ON时,优先处理最后按下的按键.\n"
             "　OFF时,优先处理最先按下的按键.\n"
             "　注意:此设置仅对移动按键有效: A, D, W, S, ←, →,\n"
             "　↑, ↓.",
             "優先處理最後按下的按鍵設置\n"
             "\n"
             "　選擇同時按下多個按鍵時,\n"
             "　控制器優先處理哪個按鍵.\n"
             "　ON時,優先處理最後按下的按鍵.\n"
             "　OFF時,優先處理最先按下的按鍵.\n"
             "　注意:此設置僅對移動按鍵有效: A, D, W, S, ←, →,\n"
             "　↑, ↓."}},

    // Refused drops.
    TextRow{TextId::RefuseFn,
            {"This key can't get Fn.", "Vous ne pouvez pas attribuer de fonction à ce bouton",
             "Diese Funktion kann dieser Taste nicht zugewiesen werden", "このボタンは、アサインできません",
             "此按键不能被编程", "此按鍵不能被編程"}},
    TextRow{TextId::RefuseFixedKey,
            {"Functions cannot be assigned to this button.",
             "La fonction ne peut pas être associée à cette touche.",
             "Diese Funktion kann dieser Taste nicht zugewiesen werden.",
             "このボタンには、割り当て出来ません.", "此按键无法使用映射功能.", "此按鍵無法使用映射功能."}},
    TextRow{
        TextId::NoOnScreenKeyboard,
        {"No on-screen keyboard was found.\nPlease install onboard, florence or matchbox-keyboard.",
         "Aucun clavier virtuel n'a été trouvé.\nVeuillez installer onboard, florence ou matchbox-keyboard.",
         "Keine Bildschirmtastatur gefunden.\nBitte installieren Sie onboard, florence oder "
         "matchbox-keyboard.",
         "スクリーンキーボードが見つかりません.\nonboard, florence または matchbox-keyboard を\n"
         "インストールしてください.",
         "未找到屏幕键盘.\n请安装 onboard, florence 或 matchbox-keyboard.",
         "未找到螢幕鍵盤.\n請安裝 onboard, florence 或 matchbox-keyboard."}},
    TextRow{TextId::KeySlotName,
            {"Key %1: %2", "Touche %1 : %2", "Taste %1: %2", "キー %1: %2", "按键 %1: %2", "按鍵 %1: %2"}},

    // Profile list and its buttons.
    TextRow{TextId::PleaseChooseFile,
            {"Please choose a file!", "Veuillez choisir un profil!", "Bitte wählen Sie eine Datei!",
             "ファイルを選択してください!", "请选择文件!", "請選擇檔案!"}},
    TextRow{TextId::SaveAsNewQuestion,
            {"Save current settings as a new profile?",
             "Sauvegarder les réglages actuels comme un nouveau profil?",
             "Einstellungen als neues Profil speichern?",
             "新しいプロファイルとして、このプロファイルを保存しますか?", "是否新建Profile并保存此按键设置?",
             "是否新建Profile並保存此按鍵設置?"}},
    TextRow{TextId::OfficialProfileCannotChange,
            {"Official profile can not change.", "Profil officiel ne peut pas changer.",
             "Offizielle Profil kann nicht geändert werden.", "公式プロファイルは変更が出来ません。",
             "官方文件不能被修改!", "官方文件不能被修改!"}},
    TextRow{TextId::SaveSucceeded,
            {"Success for save!", "Enregistré avec succès!", "Gespeichert!", "保存が完了しました!",
             "保存成功!", "保存成功!"}},
    TextRow{TextId::FileAlreadyExists,
            {"File already exists,please enter again!",
             "Un profil existe deja sous ce nom.Veuillez choisir un autre\n"
             "nom pour ce profil!",
             "Es existiert schon ein Profil unter diesem Namen.Bitte wahlen\n"
             "Sie einen anderen Profilnamen!",
             "同じプロファイル名のデータが存在しています.\n"
             "プロファイル名を変更してください!",
             "已经有同名文件存在,请更换文件名!", "已經有同名檔案存在,請更換檔案名!"}},
    TextRow{TextId::ProfileCannotBeDeleted,
            {"This profile cannot be deleted.", "Ce profil ne peut pas être supprimé.",
             "Dieses Profil kann nicht gelöscht werden.", "このプロファイルは削除できません.",
             "无法删除该Profile.", "無法刪除該Profile."}},
    TextRow{TextId::DeleteQuestion,
            {"Delete this profile?", "Voulez-vous supprimer ce profil?",
             "Gelöschte Daten können nicht wiederhergestellt werden.Fortfahren?",
             "プロファイルデータを削除しますが本当に削除しますか?", "确定要删除该Profile吗?",
             "確定要刪除該Profile嗎?"}},
    TextRow{TextId::InvalidProfileName,
            {"Invalid profile name.", "Nom de profil non valide.", "Ungültiger Profilname.",
             "プロファイル名が無効です.", "Profile名称无效.", "Profile名稱無效."}},
    TextRow{TextId::SaveFailed,
            {"Save failed.", "Échec de l'enregistrement.", "Speichern fehlgeschlagen.", "保存に失敗しました.",
             "保存失败.", "保存失敗."}},
    TextRow{TextId::ProfileCannotBeLoaded,
            {"This profile cannot be loaded.", "Ce profil ne peut pas être chargé.",
             "Dieses Profil kann nicht geladen werden.", "このプロファイルは読み込めません.",
             "无法读取该Profile.", "無法讀取該Profile."}},
    TextRow{TextId::OldProfileNotDeleted,
            {"Saved, but the old profile could not be deleted.",
             "Enregistré, mais l'ancien profil n'a pas pu être supprimé.",
             "Gespeichert, aber das alte Profil konnte nicht gelöscht werden.",
             "保存しましたが、元のプロファイルを削除できませんでした.", "已保存,但无法删除原Profile.",
             "已保存,但無法刪除原Profile."}},

    // Settings dialogs and the left-stick panel.
    TextRow{TextId::SensitivityTitle,
            {"DPI Set", "Réglages DPI", "DPI-Einstellungen", "DPI設定", "DPI设置", "DPI設置"}},
    TextRow{TextId::SensitivityHelp,
            {"1.Higher sensitivity allows for greater movement with less input. \n"
             "  Increase sensitivity if aiming feels sluggish.  \n"
             "  If aiming still feels sluggish, try adjusting dead zone settings\n"
             "  in addition to sensitivity.",
             "1.Une sensibilité plus élevée donne un mouvement plus ample\n"
             "  pour un plus petit déplacement de la souris.\n"
             "  Augmentez la sensibilité si la visée vous semble lente.\n"
             "  Si la visée reste lente, essayez de régler aussi la\n"
             "  zone morte (Dead Zone) en plus de la\n"
             "  sensibilité.",
             "1.Eine höhere Empfindlichkeit bewirkt eine größere Bewegung\n"
             "  bei geringerer Mausbewegung.\n"
             "  Erhöhen Sie die Empfindlichkeit, wenn das Zielen träge\n"
             "  wirkt.\n"
             "  Wirkt das Zielen weiterhin träge, passen Sie zusätzlich\n"
             "  die Totzone-Einstellungen an.",
             "1.感度を高くすると、少ない入力で大きく動かすことが\n"
             "  できます.\n"
             "  エイムが重く感じる場合は、感度を上げてください.\n"
             "  それでもエイムが重く感じる場合は、感度と\n"
             "  あわせてデッドゾーン設定も調整してみて\n"
             "  ください.",
             "1.灵敏度越高,较小的鼠标移动即可产生较大的动作.\n"
             "  如果瞄准感觉迟钝,请提高灵敏度.\n"
             "  如果瞄准仍然感觉迟钝,请在调整灵敏度的同时\n"
             "  尝试调整Dead Zone设置.",
             "1.靈敏度越高,較小的滑鼠移動即可產生較大的動作.\n"
             "  如果瞄準感覺遲鈍,請提高靈敏度.\n"
             "  如果瞄準仍然感覺遲鈍,請在調整靈敏度的同時\n"
             "  嘗試調整Dead Zone設置."}},
    TextRow{TextId::DeadZoneTitle,
            {"DeadZone Settings", "Réglages Deadzone", "Totzone-Einstellungen", "デッドゾーン設定",
             "DeadZone设置", "DeadZone設置"}},
    TextRow{TextId::DeadZoneHelp,
            {"1.'Dead Zone' refers to the analog stick's unresponsive area\n"
             "  of motion.\n"
             "2.It may be necessary to adjust dead zone settings for each \n"
             "  software title.\n"
             "3.Please adjust if mouse movement in unresponsive. ",
             "1.La 'Dead Zone' (zone morte) est la zone de mouvement du\n"
             "  stick analogique qui ne produit aucune réaction.\n"
             "2.Il peut être nécessaire de régler la zone morte pour\n"
             "  chaque jeu.\n"
             "3.Réglez-la si les mouvements de la souris ne sont pas\n"
             "  pris en compte.",
             "1.Die 'Totzone' ist der Bereich des Analogsticks, in dem\n"
             "  eine Bewegung keine Reaktion auslöst.\n"
             "2.Die Totzone muss eventuell für jedes Spiel einzeln\n"
             "  eingestellt werden.\n"
             "3.Passen Sie sie an, wenn Mausbewegungen nicht\n"
             "  umgesetzt werden.",
             "1.'デッドゾーン'とは、アナログスティックを動かしても\n"
             "  反応しない範囲のことです.\n"
             "2.ゲームタイトルごとにデッドゾーンの調整が\n"
             "  必要になる場合があります.\n"
             "3.マウスを動かしても反応しない場合は、\n"
             "  デッドゾーンを調整して\n"
             "  ください.",
             "1.Dead Zone是指摇杆不产生反应的移动范围.\n"
             "2.不同游戏可能需要分别调整Dead Zone设置.\n"
             "3.鼠标移动没有反应时,请调整此设置.\n"
             "4.Dead Zone设置对本产品的操作手感影响很大.",
             "1.Dead Zone是指搖桿不產生反應的移動範圍.\n"
             "2.不同遊戲可能需要分別調整Dead Zone設置.\n"
             "3.滑鼠移動沒有反應時,請調整此設置.\n"
             "4.Dead Zone設置對本產品的操作手感影響很大."}},
    TextRow{TextId::SettingsModeNormal, {"Normal", "Normal", "Normal", "通常モード", "普通模式", "普通模式"}},
    TextRow{TextId::SettingsModeAds, {"ADS", "ADS", "ADS", "ＡＤＳモード", "ADS模式", "ADS模式"}},
    TextRow{TextId::AccelerationTitle,
            {"Acceleration Set", "Réglage de l'accélération", "Beschleunigungseinstellung", "加速度設定",
             "加速度设定", "加速度設定"}},
    TextRow{TextId::AccelerationHelp,
            {"1.'Acceleration setting' refers to how long it takes mouse\n"
             "  movement to reach max speed. \n"
             "2.The default setting is no mouse acceleration.\n"
             "3.Adjust gauge left for slower acceleration and right for faster \n"
             "  acceleration.\n"
             "4.Adjust mouse speed along with acceleration speed",
             "1.Le réglage 'Accélération' détermine le temps nécessaire\n"
             "  au mouvement de la souris pour atteindre sa vitesse\n"
             "  maximale.\n"
             "2.Par défaut, la souris n'a pas d'accélération.\n"
             "3.Déplacez la jauge vers la gauche pour une accélération\n"
             "  plus lente et vers la droite pour une accélération plus\n"
             "  rapide.\n"
             "4.Réglez la vitesse de la souris avec l'accélération.",
             "1.Die 'Beschleunigung' gibt an, wie lange die Mausbewegung\n"
             "  braucht, um die Höchstgeschwindigkeit zu erreichen.\n"
             "2.Standardmäßig ist keine Mausbeschleunigung eingestellt.\n"
             "3.Regler nach links für langsamere, nach rechts für\n"
             "  schnellere Beschleunigung.\n"
             "4.Stellen Sie die Mausgeschwindigkeit zusammen mit der\n"
             "  Beschleunigung ein.",
             "1.'加速度設定'とは、マウスの動きが最高速度に\n"
             "  達するまでの時間のことです.\n"
             "2.初期設定ではマウスの加速はありません.\n"
             "3.ゲージを左にすると加速が遅く、右にすると\n"
             "  加速が速くなります.\n"
             "4.マウスの速度は加速度とあわせて\n"
             "  調整してください.",
             "1.加速度设定是指鼠标移动达到最高速度所需的时间.\n"
             "2.默认设定为无鼠标加速.\n"
             "3.滑块向左加速变慢,向右加速变快.\n"
             "4.请将鼠标速度与加速度\n"
             "  一起调整.",
             "1.加速度設定是指滑鼠移動達到最高速度所需的時間.\n"
             "2.預設設定為無滑鼠加速.\n"
             "3.滑桿向左加速變慢,向右加速變快.\n"
             "4.請將滑鼠速度與加速度\n"
             "  一起調整."}},
    TextRow{TextId::AxisX, same("X")},
    TextRow{TextId::AxisY, same("Y")},
    TextRow{TextId::ButtonOptionsTitle,
            {"KeyOption Set", "Réglages fonctions", "Spezialtasteneinstellungen", "ボタンオプション設定",
             "按键灵敏度设置", "按鍵靈敏度設置"}},
    TextRow{TextId::ToggleBackLight,
            {"BackLight", "Rétro-éclairage", "BackLight", "バックライト", "背光灯", "背光燈"}},
    TextRow{TextId::ToggleAdsLock,
            {"ADSLock", "Vérrouillage ADS", "ADSLock", "ＡＤＳロック", "ADS锁定", "ADS鎖定"}},
    TextRow{TextId::WalkButton,
            {"Walk Button", "Touche Walk", "Gehen-Taste", "ウォークボタン", "Walk按键", "Walk按鍵"}},
    TextRow{TextId::SnipeButtonX,
            {"Snipe Button(X)", "Touche Snipe(X)", "Snipe-Taste(X)", "スナイプボタン(X軸)", "Snipe按键(X轴)",
             "Snipe按鍵(X軸)"}},
    TextRow{TextId::SnipeButtonY,
            {"Snipe Button(Y)", "Touche Snipe(Y)", "Snipe-Taste(Y)", "スナイプボタン(Y軸)", "Snipe按键(Y轴)",
             "Snipe按鍵(Y軸)"}},
    TextRow{TextId::ButtonOptionsHelp,
            {"1.Snipe button settings can change the sensitivity of the SNIPE\n"
             "  button.\n"
             "2.The WALK button is arranged according to the type of the\n"
             "  game andthe inclination of the handle, and is used for\n"
             "  adjusting the operation function.\n"
             "3.LIGHT BACK settings can be adjusted ZAV host backlight\n"
             "  switch.\n"
             "4.ADSLOCK function is to press the standard action after the\n"
             "  fixed function of this work.",
             "1.Le réglage Snipe modifie la sensibilité de la souris tant\n"
             "  que la touche SNIPE est maintenue.\n"
             "2.La touche WALK règle la vitesse de déplacement selon le\n"
             "  type de jeu et l'inclinaison du stick.\n"
             "3.Le réglage Rétro-éclairage allume ou éteint le\n"
             "  rétro-éclairage du ZAV.\n"
             "4.La fonction ADSLOCK maintient la visée (ADS) active\n"
             "  après un appui sur la touche de visée.",
             "1.Mit den Snipe-Einstellungen ändern Sie die Mausempfindlichkeit\n"
             "  bei gedrückter SNIPE-Taste.\n"
             "2.Die WALK-Taste wird je nach Spieltyp und Neigung\n"
             "  des Sticks eingestellt und dient zum Anpassen der\n"
             "  Bewegungsgeschwindigkeit.\n"
             "3.Mit der BackLight-Einstellung schalten Sie die\n"
             "  Hintergrundbeleuchtung des ZAV ein oder aus.\n"
             "4.Die ADSLOCK-Funktion hält das Zielen (ADS) nach\n"
             "  einem Druck auf die Zieltaste aufrecht, bis die Taste\n"
             "  erneut gedrückt wird.",
             "1.スナイプボタン設定では、SNIPEボタンを押している間の\n"
             "  マウス感度を変更できます.\n"
             "2.WALKボタンは、ゲームの種類やスティックの傾きに合わせて\n"
             "  移動速度を調整するために使います.\n"
             "3.バックライト設定では、ZAV本体のバックライトを\n"
             "  オン/オフできます.\n"
             "4.ＡＤＳロック機能は、エイムボタンを押した後の\n"
             "  ADS状態を保持します.",
             "1.Snipe按键设置可以改变按住SNIPE键时的鼠标灵敏度.\n"
             "2.Walk按键根据游戏类型和摇杆倾斜度调整移动速度.\n"
             "3.背光灯设置可以打开或关闭ZAV主机的背光灯.\n"
             "4.ADS锁定功能在按下瞄准键后保持瞄准状态.",
             "1.Snipe按鍵設置可以改變按住SNIPE鍵時的滑鼠靈敏度.\n"
             "2.Walk按鍵根據遊戲類型和搖桿傾斜度調整移動速度.\n"
             "3.背光燈設置可以打開或關閉ZAV主機的背光燈.\n"
             "4.ADS鎖定功能在按下瞄準鍵後保持瞄準狀態."}},
    TextRow{TextId::LStickPanelTitle,
            {"L-Stick Settings", "Configuration L-Stick", "L-Stick Einstellungen", "左スティック設定",
             "左摇杆设定", "左搖杆設定"}},

    // Dialog and message-box buttons.
    TextRow{TextId::ButtonOk, same("OK")},
    TextRow{TextId::ButtonCancel, same("Cancel")},
    TextRow{TextId::ButtonYes, same("Yes")},
    TextRow{TextId::ButtonNo, same("No")},
    TextRow{TextId::ButtonClose, same("X")},
    TextRow{TextId::ButtonHelp, same("?")},
};

static_assert(kTexts.size() == static_cast<std::size_t>(kTextCount), "one row per TextId");

constexpr bool rowsInIdOrder() {
    for (std::size_t i = 0; i < kTexts.size(); ++i) {
        if (static_cast<std::size_t>(kTexts[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(rowsInIdOrder(), "rows follow the order of TextId");

// What the caption pass relabels; the MOSS page's "NC" button is 1150, elsewhere 1147.
constexpr std::array kCaptions{
    Caption{0, 1159, TextId::TabKite},
    Caption{0, 1160, TextId::TabMoss},
    Caption{0, 1161, TextId::TabFern},

    Caption{1, 1138, TextId::CaptionButtonOptions},
    Caption{1, 1141, TextId::CaptionLStick},
    Caption{1, 1137, TextId::CaptionDPad},
    Caption{1, 1139, TextId::CaptionNew},
    Caption{1, 1007, TextId::CaptionWrite},
    Caption{1, 1140, TextId::CaptionCopy},
    Caption{1, 1004, TextId::CaptionSave},
    Caption{1, 1006, TextId::CaptionDefault},
    Caption{1, 1124, TextId::CaptionDelete},
    Caption{1, 1088, TextId::CaptionCancel},
    Caption{1, 1147, TextId::CaptionNc},
    Caption{1, 1135, TextId::CaptionSensitivity},
    Caption{1, 1132, TextId::CaptionDeadZoneKite},
    Caption{1, 1133, TextId::CaptionAcceleration},
    Caption{1, 1090, TextId::CaptionInputKey},
    Caption{1, 1155, TextId::GroupButtons},
    Caption{1, 1156, TextId::GroupDPad},
    Caption{1, 1157, TextId::GroupLStick},
    Caption{1, 1158, TextId::GroupSpecial},

    Caption{2, 1138, TextId::CaptionButtonOptions},
    Caption{2, 1139, TextId::CaptionNew},
    Caption{2, 1007, TextId::CaptionWrite},
    Caption{2, 1140, TextId::CaptionCopy},
    Caption{2, 1004, TextId::CaptionSave},
    Caption{2, 1006, TextId::CaptionDefault},
    Caption{2, 1124, TextId::CaptionDelete},
    Caption{2, 1088, TextId::CaptionCancel},
    Caption{2, 1150, TextId::CaptionNc},
    Caption{2, 1135, TextId::CaptionSensitivity},
    Caption{2, 1132, TextId::CaptionDeadZone},
    Caption{2, 1133, TextId::CaptionAcceleration},
    Caption{2, 1090, TextId::CaptionInputKey},
    Caption{2, 1155, TextId::GroupButtons},
    Caption{2, 1156, TextId::GroupDPad},
    Caption{2, 1157, TextId::GroupLStick},
    Caption{2, 1158, TextId::GroupSpecial},

    Caption{3, 1138, TextId::CaptionButtonOptions},
    Caption{3, 1139, TextId::CaptionNew},
    Caption{3, 1007, TextId::CaptionWrite},
    Caption{3, 1140, TextId::CaptionCopy},
    Caption{3, 1004, TextId::CaptionSave},
    Caption{3, 1006, TextId::CaptionDefault},
    Caption{3, 1124, TextId::CaptionDelete},
    Caption{3, 1088, TextId::CaptionCancel},
    Caption{3, 1147, TextId::CaptionNc},
    Caption{3, 1135, TextId::CaptionSensitivity},
    Caption{3, 1132, TextId::CaptionDeadZone},
    Caption{3, 1133, TextId::CaptionAcceleration},
    Caption{3, 1090, TextId::CaptionInputKey},
    Caption{3, 1155, TextId::GroupButtons},
    Caption{3, 1156, TextId::GroupDPad},
    Caption{3, 1157, TextId::GroupLStick},
    Caption{3, 1158, TextId::GroupSpecial},
};

constexpr bool validLanguage(int language) {
    return language >= 0 && language < kLanguageCount;
}

} // namespace

int languageForLangId(int langId) {
    for (const LangIdRow& row : kLangIds) {
        if (row.langId == langId) {
            return row.language;
        }
    }
    return -1;
}

int startupLanguage(int langId) {
    const int language = languageForLangId(langId);
    return language < 0 ? kDefaultLanguage : language;
}

std::string_view text(TextId id, int language) {
    const int index = static_cast<int>(id);
    if (index < 0 || index >= kTextCount) {
        return {};
    }
    return kTexts[static_cast<std::size_t>(index)]
        .forms[static_cast<std::size_t>(validLanguage(language) ? language : 0)];
}

std::vector<std::string_view> textLines(TextId id, int language) {
    std::vector<std::string_view> lines;
    std::string_view rest = text(id, language);
    for (;;) {
        const std::size_t end = rest.find('\n');
        lines.push_back(rest.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    return lines;
}

std::string_view languageName(int index) {
    return text(static_cast<TextId>(static_cast<int>(TextId::LanguageNameEnglish) +
                                    (validLanguage(index) ? index : 0)),
                0);
}

std::vector<std::string_view> modeListTexts(int model, int capability, int language) {
    const ModelTexts* texts = modelTexts(model);
    if (texts == nullptr) {
        return {};
    }
    std::vector<std::string_view> items = {
        text(TextId::ModePlaystation4, language), text(TextId::ModePlaystation3, language),
        text(TextId::ModePcPad, language), text(TextId::ModeKeyboard, language)};
    items.resize(static_cast<std::size_t>(texts->modeItems));
    if (texts->modeItems < 4) {
        items.back() = text(
            capability >= texts->keyboardCapability ? TextId::ModeKeyboard : TextId::ModePcPad, language);
    }
    return items;
}

std::vector<std::string_view> profileSlotTexts(int model) {
    std::vector<std::string_view> items;
    if (const ModelTexts* texts = modelTexts(model)) {
        for (const TextId id : texts->profileSlots) {
            items.push_back(text(id, 0));
        }
    }
    return items;
}

TextId paletteHelp(int model, int mode) {
    if (mode == 3) {
        return TextId::PaletteHelpKeyboard;
    }
    // Any other number gets the first model's help.
    const ModelTexts* texts = modelTexts(model);
    return texts != nullptr ? texts->paletteHelp : kModelTexts[0].paletteHelp;
}

TextId switchHelp(int model) {
    const ModelTexts* texts = modelTexts(model);
    return texts != nullptr ? texts->switchHelp : kModelTexts[0].switchHelp;
}

std::span<const Caption> captions() {
    return kCaptions;
}

std::optional<TextId> captionFor(int window, int control) {
    for (const Caption& caption : kCaptions) {
        if (caption.window == window && caption.control == control) {
            return caption.id;
        }
    }
    return std::nullopt;
}

} // namespace zav
