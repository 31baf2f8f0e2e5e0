#pragma once

#include <QPushButton>

namespace zav {

// Push button drawn in the skin: a red frame around the background piece behind it, a dark red fill
// under the pointer and a red fill while it is held down.
class SkinButton : public QPushButton {
    Q_OBJECT

public:
    explicit SkinButton(QWidget* parent = nullptr);
    explicit SkinButton(const QString& text, QWidget* parent = nullptr);

    // Language whose font draws the caption; -1 follows the skin language.
    void setLanguage(int language);
    int language() const;

    bool isHovered() const { return hovered_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setHovered(bool hovered);
    bool hoverArea(const QPoint& pos) const;

    bool hovered_ = false;
    int language_ = -1;
};

} // namespace zav
