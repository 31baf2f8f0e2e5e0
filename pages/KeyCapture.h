#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace zav {

// Takes the next key, mouse button or wheel step as a label while a key slot (or a direction of the
// left-stick panel) waits for its input. Installed on the application only while it runs: keys anywhere
// in the page's window and mouse input over the page become labels and reach no control, except left
// clicks on the buttons that must keep working (OK, Cancel, "NC", "Fn", the on-screen keyboard).
class KeyCapture : public QObject {
    Q_OBJECT
public:
    // `page` is where mouse input is taken; `owner` must be shown for the capture to see anything.
    KeyCapture(QWidget& page, QWidget& owner);
    ~KeyCapture() override;

    void setUsableButtons(QList<QWidget*> buttons);

    void start();
    void stop();
    bool active() const { return active_; }

    // Taking one key only: after the first key press the keys go back to the controls.
    void setOneKey(bool oneKey) { oneKey_ = oneKey; }
    bool keysFree() const { return keysFree_; }

signals:
    void captured(const QString& label);
    // A one-key capture took its key.
    void keyTaken();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool overUsableButton(QPoint global) const;

    QWidget& page_;
    QWidget& owner_;
    QList<QPointer<QWidget>> usable_;
    bool active_ = false;
    bool oneKey_ = false;
    bool keysFree_ = false;
};

} // namespace zav
