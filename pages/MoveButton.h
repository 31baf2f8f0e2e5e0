#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

namespace zav {

// A function button: on the palette it is dragged onto a key slot and jumps back home, or clicked
// (or Space with the focus) to put it on the selected key slot; over a key slot it shows that slot's
// assignment and is clicked (or Space) to select the slot.
class MoveButton : public QWidget {
    Q_OBJECT
public:
    MoveButton(int id, const QString& label, QWidget* parent = nullptr);

    QString label() const { return label_; }
    // The label as drawn: Wingdings characters become the arrows they show.
    QString shownLabel() const;
    void setLabel(const QString& label);

    bool isSlotButton() const { return slot_ != 0; }
    int slot() const { return slot_; }
    void makeSlotButton(int slot);

    bool selected() const { return selected_; }
    void setSelected(bool selected);
    // A selected slot button of a page in keyboard mode is drawn filled.
    void setCaptureLook(bool on);

    bool moved() const { return moved_; }
    QRect home() const { return home_; }
    void goHome();

signals:
    // A palette button was let go; `global` is where the pointer was.
    void dropped(zav::MoveButton* button, QPoint global);
    // A slot button was clicked, or pressed with Space or Enter (`byKey`).
    void slotClicked(zav::MoveButton* button, bool byKey);
    // A palette button was clicked without being moved, or pressed with Space or Enter.
    void picked(zav::MoveButton* button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString label_;
    int slot_ = 0;
    bool pressed_ = false;
    bool moved_ = false;
    bool selected_ = false;
    bool captureLook_ = false;
    QRect home_;
};

} // namespace zav
