#pragma once

#include <QComboBox>

namespace zav {

class LimitedLineEdit;
class SkinComboList;

// Combo box drawn in the skin: a red frame around the background piece behind it, the selection
// (unless an edit part shows it or the owner keeps it hidden) and a down arrow. The field is 20
// pixels high whatever height the owner gives, as the owner's height counts the dropped list.
class SkinComboBox : public QComboBox {
    Q_OBJECT

public:
    static constexpr int kFieldHeight = 20;

    explicit SkinComboBox(QWidget* parent = nullptr);

    // An editable combo box types into a LimitedLineEdit.
    void setEditable(bool editable);

    // When hidden (the start), the combo box draws no text of its own.
    bool textHidden() const { return textHidden_; }
    void setTextHidden(bool hidden);

    // Language whose fonts draw the text and the list; -1 follows the skin language.
    void setLanguage(int language);
    int language() const;

    LimitedLineEdit* edit() const;
    // The skinned drop-down list.
    SkinComboList* list();

    void showPopup() override;
    void hidePopup() override;

signals:
    // An item was chosen in the open list, by a click or Enter; typing, leaving the field and the
    // arrow keys on the closed box never emit it.
    void chosen(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void adoptEdit();
    void placeEdit();
    void setUpEdit();
    // Opens the list from a mouse press whose release must leave it open.
    void openFromPress();

    SkinComboList* list_ = nullptr;
    bool textHidden_ = true;
    bool swallowRelease_ = false;
    bool closingOnChoice_ = false;
    int language_ = -1;
};

} // namespace zav
