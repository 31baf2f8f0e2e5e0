#pragma once

#include <QWidget>

namespace zav {

// A two-state button in the program's look: the model tabs, the D-Pad / L-Stick selector and
// the second model's switch. Pressing turns it on; a toggling button turns off again on the next
// press. The owner of a group clears the others when it hears `clicked`.
class ToggleButton : public QWidget {
    Q_OBJECT
    // Read by the accessible face of the control.
    Q_PROPERTY(bool on READ on)
public:
    enum class Press { Toggle, StaysOn };

    explicit ToggleButton(int id, const QString& text, QWidget* parent = nullptr);

    bool on() const { return on_; }
    void setOn(bool on);
    void setPress(Press press) { press_ = press; }
    // The second model's switch also reads "ON" or "OFF".
    void setShowsState(bool shows);
    QString text() const { return text_; }
    void setText(const QString& text);
    void setLanguage(int language);
    bool hovered() const { return hover_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // A press as the mouse makes it: turns on (or toggles), then tells the owner.
    void press();

    QString text_;
    bool on_ = false;
    bool hover_ = false;
    bool down_ = false;
    bool showsState_ = false;
    Press press_ = Press::Toggle;
    int language_ = 0;
};

} // namespace zav
