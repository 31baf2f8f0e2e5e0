#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

#include <array>

namespace zav {

// Stepped slider: 8 large cells 55 pixels apart with 6 small cells between each pair. In the coarse
// mode only the large cells can be chosen, in the fine mode all 50. The owner reads and sets the
// position; the slider tells nobody when the user changes it. With the focus, the arrow keys move
// it by one selectable cell, Page Up and Page Down by a large cell, Home and End to either end.
class CellSlider : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCellCount = 50;
    static constexpr int kCellsPerStep = 7;
    static constexpr int kWidth = 430;
    static constexpr int kHeight = 90;

    explicit CellSlider(QWidget* parent = nullptr);

    // Cell i in the slider's own pixels; an empty rectangle outside 0..49.
    static QRect cellRect(int index);

    bool fineMode() const { return fineMode_; }
    void setFineMode(bool fine);

    // Selected cell; a value that matches no selectable cell shows none selected.
    int position() const { return position_; }
    void setPosition(int position);

    int hoverIndex() const { return hoverIndex_; }
    bool isDragging() const { return dragging_; }
    // The cell drawn as under the pointer, -1 when none.
    int litIndex() const { return litIndex_; }

    bool isSelectable(int index) const;
    // First selectable cell holding the point, -1 when none.
    int cellAt(const QPoint& point) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void hoverTo(const QPoint& point);
    void dragTo(QPoint point);
    void click(const QPoint& point);
    // Moves the selection by `cells`, to a selectable cell in that direction, held within 0..49.
    void step(int cells);

    bool fineMode_ = false;
    int hoverIndex_ = 0;
    bool dragging_ = false;
    int position_ = 0;
    int litIndex_ = -1;
};

} // namespace zav
