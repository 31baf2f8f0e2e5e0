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

class CClickButton;

enum class MessageBoxKind : int { OkOnly = 1, OkCancel = 2, YesNo = 3 };

// The one message box of the program: 1 to 11 lines in red on black, sized to the highest non-empty
// line, with "OK", "OK" and "Cancel", or "Yes" and "No". exec returns IDOK (OK, Yes, Enter) or
// IDCANCEL (Cancel, No, Esc). Captions stay English in every language.
class CMessageBoxDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxLines = 11;
    static constexpr int kWidth = 500;
    static constexpr int kLinkId = 1183;

    // Lines are given already in the language of the caller; the language picks the font.
    CMessageBoxDlg(const QStringList& lines, MessageBoxKind kind, int language, QWidget* parent = nullptr);
    // Chosen for a braced list of lines, whatever their string type.
    CMessageBoxDlg(std::initializer_list<QString> lines, MessageBoxKind kind, int language,
                   QWidget* parent = nullptr);
    // The same with UTF-8 lines, as the text catalogue holds them.
    CMessageBoxDlg(std::span<const std::string> lines, MessageBoxKind kind, int language,
                   QWidget* parent = nullptr);
    // A text of the catalogue, one line of the box per line of the text.
    CMessageBoxDlg(TextId text, MessageBoxKind kind, int language, QWidget* parent = nullptr);

    // Shows the link to the update page in the place of the second line.
    void setShowUpdateLink(bool show);
    bool showUpdateLink() const { return m_showUpdateLink; }

    // Number of the highest line that is not empty; a line of one space counts.
    int lineCount() const { return m_lineCount; }
    QString line(int index) const;
    MessageBoxKind kind() const { return m_kind; }

    CClickButton* okButton() const { return m_okButton; }
    CClickButton* cancelButton() const { return m_cancelButton; }
    QLabel* linkLabel() const { return m_link; }

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

    std::array<QString, kMaxLines> m_lines;
    int m_lineCount = 0;
    MessageBoxKind m_kind;
    int m_language;
    bool m_showUpdateLink = false;
    CClickButton* m_okButton = nullptr;
    CClickButton* m_cancelButton = nullptr;
    QLabel* m_link = nullptr;
};

} // namespace zav
