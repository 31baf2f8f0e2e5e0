#pragma once

#include <QListView>

namespace zav {

// List part of the skinned combo box: red items on black, the selected one white on red, inside a
// thin red frame.
class SkinComboList : public QListView {
    Q_OBJECT

public:
    explicit SkinComboList(QWidget* parent = nullptr);

    // Language whose font draws the items; -1 follows the skin language.
    void setLanguage(int language);
    int language() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int language_ = -1;
};

} // namespace zav
