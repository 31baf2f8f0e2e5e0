#pragma once

#include "controls/DialogResult.h"
#include "profiles/ProfileRecord.h"
#include "settings/SettingsTarget.h"
#include "text/Texts.h"

#include <QDialog>
#include <QFont>
#include <QRect>
#include <QString>

#include <cstdint>

class QPainter;

namespace zav {

class SkinButton;
class SkinComboBox;

// What the four settings dialogs share: a 600 x 400 translucent box in red on black, centred on the
// main window, with OK, a close box and a help button, that edits the settings block of one profile
// record. The record is the target's, fixed when the dialog is made, and OK writes into exactly that
// record of the work page and the send page, even if the window has moved to another tab meanwhile.
// A target without a model shows the first model's record and OK stores nothing. exec returns IDOK or
// IDCANCEL.
class SettingsDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kWidth = 600;
    static constexpr int kHeight = 400;
    static constexpr int kHelpButton = 1137;
    static constexpr int kModeCombo = 1150;
    static constexpr int kModeNormal = 0;
    static constexpr int kModeAds = 1;

    SettingsDialog(const SettingsTarget& target, QWidget* parent);
    ~SettingsDialog() override;

    // Model whose record OK writes; 0 when no tab was selected.
    int model() const { return model_; }
    // Model and slot of the record shown.
    int shownModel() const;
    int profileSlot() const { return slot_; }
    int language() const { return language_; }

    SkinButton* okButton() const { return ok_; }
    SkinButton* closeBox() const { return close_; }
    SkinButton* helpButton() const { return help_; }
    // The Normal / ADS list of the dialogs that keep a value per mode; nullptr in the others.
    SkinComboBox* modeCombo() const { return modeCombo_; }
    // The mode whose values the controls show.
    int settingsMode() const { return shownMode_; }

    // Steps 1..8 and tens 10..80 sit on the large cells 0, 7, ..., 49. A value that matches no cell
    // gives a position that selects none, and an unchosen position gives the value back.
    static constexpr int positionForStep(int step) { return 7 * (step - 1); }
    static constexpr int stepForPosition(int position) { return position / 7 + 1; }
    static constexpr int positionForTens(int value) { return 7 * (value / 10) - 7; }
    static constexpr int tensForPosition(int position) { return 10 * (position / 7 + 1); }

public slots:
    // OK and Enter: the dialog's values into the record, then IDOK.
    void accept() override;
    // Close box and Esc: the release frame, then IDCANCEL with the record as it was.
    void reject() override;
    void showHelp();

protected:
    void setTitle(TextId id, const QRect& place);
    void setHelp(TextId id, int controlId);
    // Adds the mode list at its place with Normal selected; modeChanged tells of every switch.
    void addModeCombo();

    // A settings byte of the record shown, and a value stored as its low byte into the record in both
    // pages (nothing when no tab was selected).
    std::uint8_t storedValue(SettingsField field) const;
    void storeValue(SettingsField field, int value);

    // OK with a record to write: the dialog stores its values with storeValue.
    virtual void store() = 0;
    // The mode list moved from one mode to the other; the controls still show the old one's values.
    virtual void modeChanged(int from, int to);
    // Value labels; they are drawn over the controls, so that labels that reach into a slider stay seen.
    virtual void paintLabels(QPainter& painter);

    // A rectangle given by its left, top, right and bottom edges, right and bottom excluded.
    static QRect edges(int left, int top, int right, int bottom);
    static void drawCentred(QPainter& painter, const QRect& place, const QString& text);
    // A text in the dialog's language; empty for a language without texts.
    QString languageText(TextId id) const;
    bool hasTexts() const;
    const QFont& dialogFont() const { return font_; }

    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sendFrame(std::uint8_t code);
    void centreOnOwner();
    void onModeSelected(int index);

    DeviceLink& link_;
    DeviceWorker& worker_;
    int model_ = 0;
    int slot_ = 0;
    int language_ = 0;
    QFont font_;
    TextId title_ = TextId::Count; // Count: none
    QRect titlePlace_;
    TextId helpText_ = TextId::Count;
    bool opened_ = false;
    int shownMode_ = kModeNormal;

    SkinButton* ok_ = nullptr;
    SkinButton* close_ = nullptr;
    SkinButton* help_ = nullptr;
    SkinComboBox* modeCombo_ = nullptr;
    QWidget* labelLayer_ = nullptr;
};

} // namespace zav
