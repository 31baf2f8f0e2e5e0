#pragma once

#include <QLineEdit>

namespace zav {

// Edit part of the skinned combo box: red text on black. Typing, pasting and input methods add no
// more than 20 characters in all; text that the program sets is shown whole and can be shortened.
class LimitedLineEdit : public QLineEdit {
    Q_OBJECT

public:
    static constexpr int kTypedLimit = 20;

    explicit LimitedLineEdit(QWidget* parent = nullptr);

    // Inserts at the cursor what fits under the limit, replacing the selection.
    void insertLimited(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int room() const;
    void pasteLimited(bool fromSelection);
};

} // namespace zav
