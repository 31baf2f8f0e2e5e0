#include "controls/CellSlider.h"

#include "controls/Skin.h"
#include "controls/SkinAccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstdlib>

namespace zav {

namespace {

constexpr int kStepPitch = 55;
constexpr int kLargeLeft = 10;
constexpr int kLargeTop = 15;
constexpr int kLargeWidth = 10;
constexpr int kLargeHeight = 60;
constexpr int kSmallLeft = 16;
constexpr int kSmallPitch = 7;
constexpr int kSmallTop = 35;
constexpr int kSmallWidth = 4;
constexpr int kSmallHeight = 20;
constexpr int kBarTop = 40;
constexpr int kBarBottom = 50;
constexpr int kLargeCells = 8;

// Where a drag that leaves the slider is held.
constexpr int kClampRight = 405;
constexpr int kClampLeft = 10;
constexpr int kClampBelow = 55;
constexpr int kClampAbove = 35;

constexpr std::array<QRect, CellSlider::kCellCount> makeCells() {
    std::array<QRect, CellSlider::kCellCount> cells{};
    for (int i = 0; i < CellSlider::kCellCount; ++i) {
        const int k = i / CellSlider::kCellsPerStep;
        const int j = i % CellSlider::kCellsPerStep;
        cells[i] = j == 0 ? QRect(kLargeLeft + kStepPitch * k, kLargeTop, kLargeWidth, kLargeHeight)
                          : QRect(kSmallLeft + kStepPitch * k + kSmallPitch * j, kSmallTop, kSmallWidth,
                                  kSmallHeight);
    }
    return cells;
}

constexpr std::array<QRect, CellSlider::kCellCount> kCells = makeCells();

// The comb: a bar joining the large cells, with the small notches in the fine mode, as one closed line.
QPolygon outline(bool fine) {
    QPolygon points;
    auto notches = [&](int step, bool top) {
        for (int n = 1; n < CellSlider::kCellsPerStep; ++n) {
            const int j = top ? n : CellSlider::kCellsPerStep - n;
            const int x0 = kSmallLeft + kStepPitch * step + kSmallPitch * j;
            const int x1 = x0 + kSmallWidth;
            if (top) {
                points << QPoint(x0, kBarTop) << QPoint(x0, kSmallTop) << QPoint(x1, kSmallTop)
                       << QPoint(x1, kBarTop);
            } else {
                points << QPoint(x1, kBarBottom) << QPoint(x1, kSmallTop + kSmallHeight)
                       << QPoint(x0, kSmallTop + kSmallHeight) << QPoint(x0, kBarBottom);
            }
        }
    };
    const int bottom = kLargeTop + kLargeHeight;
    for (int t = 0; t < kLargeCells; ++t) {
        const int left = kLargeLeft + kStepPitch * t;
        if (t > 0) {
            points << QPoint(left, kBarTop);
        }
        points << QPoint(left, kLargeTop) << QPoint(left + kLargeWidth, kLargeTop);
        if (t + 1 < kLargeCells) {
            points << QPoint(left + kLargeWidth, kBarTop);
            if (fine) {
                notches(t, true);
            }
        }
    }
    for (int t = kLargeCells - 1; t >= 0; --t) {
        const int left = kLargeLeft + kStepPitch * t;
        if (t + 1 < kLargeCells) {
            if (fine) {
                notches(t, false);
            }
            points << QPoint(left + kLargeWidth, kBarBottom);
        }
        points << QPoint(left + kLargeWidth, bottom) << QPoint(left, bottom);
        if (t > 0) {
            points << QPoint(left, kBarBottom);
        }
    }
    return points;
}

} // namespace

CellSlider::CellSlider(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Reached by Tab; a click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleRole(this, QAccessible::Slider);
    resize(kWidth, kHeight);
}

QRect CellSlider::cellRect(int index) {
    if (index < 0 || index >= kCellCount) {
        return QRect();
    }
    return kCells[index];
}

void CellSlider::setFineMode(bool fine) {
    fineMode_ = fine;
    update();
}

void CellSlider::setPosition(int position) {
    position_ = position;
    announceValue(this, position_);
    update();
}

bool CellSlider::isSelectable(int index) const {
    return index >= 0 && index < kCellCount && (fineMode_ || index % kCellsPerStep == 0);
}

int CellSlider::cellAt(const QPoint& point) const {
    for (int i = 0; i < kCellCount; ++i) {
        if (isSelectable(i) && kCells[i].contains(point)) {
            return i;
        }
    }
    return -1;
}

QSize CellSlider::sizeHint() const {
    return QSize(kWidth, kHeight);
}

void CellSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::kBlack);
    painter.setPen(QPen(skin::kRed, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(outline(fineMode_));
    for (int i = 0; i < kCellCount; ++i) {
        if (!isSelectable(i)) {
            continue;
        }
        QColor fill = skin::kBlack;
        if (i == litIndex_) {
            fill = skin::kDarkRed;
        } else if (i == position_) {
            fill = skin::kLightRed;
        }
        // The outline stays on the left and top edges; the fill covers the rest.
        painter.fillRect(kCells[i].adjusted(1, 1, 0, 0), fill);
    }
    if (showsFocusFrame(*this)) {
        drawFocusFrame(painter, rect().adjusted(1, 1, -1, -1));
    }
}

void CellSlider::keyPressEvent(QKeyEvent* event) {
    const int cell = fineMode_ ? 1 : kCellsPerStep;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        step(-cell);
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        step(cell);
        break;
    case Qt::Key_PageDown:
        step(-kCellsPerStep);
        break;
    case Qt::Key_PageUp:
        step(kCellsPerStep);
        break;
    case Qt::Key_Home:
        step(-kCellCount);
        break;
    case Qt::Key_End:
        step(kCellCount);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CellSlider::step(int cells) {
    int target = position_ + cells;
    if (!fineMode_) {
        // Large cells only: counted from the large cell behind the position in the direction of the move.
        const auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
        const int large = std::max(1, std::abs(cells) / kCellsPerStep);
        const int from =
            cells > 0 ? floorDiv(position_, kCellsPerStep) : -floorDiv(-position_, kCellsPerStep);
        target = (from + (cells > 0 ? large : -large)) * kCellsPerStep;
    }
    target = std::clamp(target, 0, kCellCount - 1);
    if (target != position_) {
        position_ = target;
        hoverIndex_ = target;
        announceValue(this, position_);
        update();
    }
}

void CellSlider::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        dragTo(event->position().toPoint());
    } else {
        hoverTo(event->position().toPoint());
    }
}

void CellSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (isSelectable(position_) && kCells[position_].contains(event->position().toPoint())) {
        dragging_ = true;
        litIndex_ = -1;
        update();
    }
}

void CellSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    dragging_ = false;
    const QPoint point = event->position().toPoint();
    if (rect().contains(point)) {
        click(point);
    }
}

void CellSlider::leaveEvent(QEvent* event) {
    if (!dragging_ && litIndex_ >= 0) {
        litIndex_ = -1;
        update();
    }
    QWidget::leaveEvent(event);
}

void CellSlider::hoverTo(const QPoint& point) {
    const int cell = cellAt(point);
    if (cell >= 0) {
        hoverIndex_ = cell;
    }
    if (cell != litIndex_) {
        litIndex_ = cell;
        update();
    }
}

void CellSlider::dragTo(QPoint point) {
    if (point.x() > width() - 1) {
        point.setX(kClampRight);
    } else if (point.x() < 0) {
        point.setX(kClampLeft);
    }
    if (point.y() > height() - 1) {
        point.setY(kClampBelow);
    } else if (point.y() < 0) {
        point.setY(kClampAbove);
    }
    const int cell = cellAt(point);
    if (cell >= 0 && cell != position_) {
        position_ = cell;
        announceValue(this, position_);
    }
    if (cell >= 0) {
        hoverIndex_ = cell;
    }
    litIndex_ = -1;
    update();
}

void CellSlider::click(const QPoint& point) {
    // The coarse slider takes a click only on a large cell; the fine one takes the cell last passed over.
    if (!fineMode_ && cellAt(point) < 0) {
        return;
    }
    if (position_ != hoverIndex_) {
        position_ = hoverIndex_;
        announceValue(this, position_);
    }
    litIndex_ = -1;
    update();
}

} // namespace zav
