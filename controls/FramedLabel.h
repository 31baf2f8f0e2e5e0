#pragma once

#include <QLabel>

namespace zav {

// Text label drawn in the skin: a red frame around the background piece behind it, the text centred
// in red in the widget's own font.
class FramedLabel : public QLabel {
    Q_OBJECT

public:
    explicit FramedLabel(QWidget* parent = nullptr);
    explicit FramedLabel(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace zav
