#pragma once

#include <QLabel>

namespace zav {

// Text label drawn in the skin: a red frame around the background piece behind it, the text centred
// in red in the widget's own font.
class CEditStatic : public QLabel {
    Q_OBJECT

public:
    explicit CEditStatic(QWidget* parent = nullptr);
    explicit CEditStatic(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace zav
