#pragma once

#include "controls/DialogResult.h"
#include "text/Texts.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <array>
#include <initializer_list>
#include <span>
#include <string>

class QLabel;

namespace zav {

class SkinButton;

enum class MessageBoxKind : int { OkOnly = 1, OkCancel = 2, YesNo = 3 };

// The one message box of the program: 1 to 11 lines in red on black, sized to the highest non-empty
// line, with "OK", "OK" and "Cancel", or "Yes" and "No". exec returns IDOK (OK, Yes, Enter) or
// IDCANCEL (Cancel, No, Esc). Captions stay English in every language.
class SkinMessageBox : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxLines = 11;
    static constexpr int kWidth = 500;
    static constexpr int kLinkId = 1183;

    // Lines are given already in the language of the caller; the language picks the font.
    SkinMessageBox(const QStringList& lines, MessageBoxKind kind, int language, QWidget* parent = nullptr);
    // Chosen for a braced list of lines, whatever their string type.
    SkinMessageBox(std::initializer_list<QString> lines, MessageBoxKind kind, int language,
                   QWidget* parent = nullptr);
    // The same with UTF-8 lines, as the text catalogue holds them.
    SkinMessageBox(std::span<const std::string> lines, MessageBoxKind kind, int language,
                   QWidget* parent = nullptr);
    // A text of the catalogue, one line of the box per line of the text.
    SkinMessageBox(TextId text, MessageBoxKind kind, int language, QWidget* parent = nullptr);

    // Shows the link to the update page in the place of the second line.
    void setShowUpdateLink(bool show);
    bool showUpdateLink() const { return showUpdateLink_; }

    // Number of the highest line that is not empty; a line of one space counts.
    int lineCount() const { return lineCount_; }
    QString line(int index) const;
    MessageBoxKind kind() const { return kind_; }

    SkinButton* okButton() const { return okButton_; }
    SkinButton* cancelButton() const { return cancelButton_; }
    QLabel* linkLabel() const { return link_; }

    static QUrl updatePageUrl();
    // Where line index (0 for line 1) is drawn, in the box's pixels.
    QRect lineRect(int index) const;

public slots:
    void accept() override;
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layOut();
    void centreOnOwner();

    std::array<QString, kMaxLines> lines_;
    int lineCount_ = 0;
    MessageBoxKind kind_;
    int language_;
    bool showUpdateLink_ = false;
    SkinButton* okButton_ = nullptr;
    SkinButton* cancelButton_ = nullptr;
    QLabel* link_ = nullptr;
};

} // namespace zav
