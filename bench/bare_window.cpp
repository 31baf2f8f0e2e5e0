// The yardstick for start-up: a bare Qt window of the program's size that ends the process once its
// first paint is done, as zavora-demo does with ZAVORA_EXIT_AFTER_FIRST_PAINT set.
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QWidget>

#include <cstdlib>

namespace {

class BareWindow : public QWidget {
public:
    BareWindow() { setFixedSize(960, 700); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::black);
        // Posted, so that it runs once the painted frame has been handed to the window system; at
        // high priority, as the program's own.
        if (!posted_) {
            posted_ = true;
            QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::HighEventPriority);
        }
    }
    void customEvent(QEvent*) override { std::_Exit(0); }

private:
    bool posted_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BareWindow window;
    window.show();
    return app.exec();
}
