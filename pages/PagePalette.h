#pragma once

#include <QObject>
#include <QPoint>

#include <map>

class QWidget;

namespace zav {

class MoveButton;
struct PageLayout;

// The palette of the console modes: a button for every function, dragged onto a key slot or clicked
// to put its function on the selected slot. Its faces follow the mode.
class PagePalette : public QObject {
    Q_OBJECT
public:
    // The buttons stand on `page` where its layout puts them.
    PagePalette(QWidget& page, const PageLayout& layout);

    MoveButton* button(int id) const;
    const std::map<int, MoveButton*>& buttons() const { return buttons_; }

    // The faces of the console buttons in `mode`.
    void setFaces(int mode);
    // The buttons `mode` shows; keyboard mode shows none.
    void showFor(int mode);

signals:
    // A button was let go over the key slot `slot` that takes drops, or elsewhere (`slot` 0).
    void dropped(zav::MoveButton* button, int slot);
    // A button was clicked without being moved, or pressed with Space or Enter.
    void picked(zav::MoveButton* button);

private:
    int dropTarget(QPoint global) const;

    QWidget& page_;
    const PageLayout& layout_;
    std::map<int, MoveButton*> buttons_;
};

} // namespace zav
