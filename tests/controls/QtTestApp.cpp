#include "tests/controls/QtTestApp.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace zav::test {

namespace {

// The widgets need one application object for the whole run: offscreen, with the source tree's pictures,
// and a state folder of its own, as every Write keeps a backup there.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
#ifdef ZAVORA_TEST_RES_DIR
        if (qEnvironmentVariableIsEmpty("ZAVORA_RES_DIR")) {
            qputenv("ZAVORA_RES_DIR", ZAVORA_TEST_RES_DIR);
        }
#endif
        qputenv("XDG_STATE_HOME", state_.path().toLocal8Bit());
        static int argc = 1;
        static char name[] = "controls_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override {
        app_.reset();
    }

private:
    std::unique_ptr<QApplication> app_;
    QTemporaryDir state_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

void send(QWidget& widget, QPoint at, bool press, bool release, Qt::KeyboardModifiers modifiers = {}) {
    QWindow* window = widget.window()->windowHandle();
    const QPoint inWindow = widget.mapTo(widget.window(), at);
    if (press) {
        QTest::mousePress(window, Qt::LeftButton, modifiers, inWindow);
        QApplication::processEvents();
    }
    if (release) {
        QTest::mouseRelease(window, Qt::LeftButton, modifiers, inWindow);
        QApplication::processEvents();
    }
}

} // namespace

QImage snapshot(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool sameColour(QRgb pixel, const QColor& colour, int tolerance) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

bool anyPixel(const QImage& image, const QRect& area, const QColor& colour, int tolerance) {
    const QRect clipped = area & image.rect();
    for (int i = 0; i < clipped.width() * clipped.height(); ++i) {
        if (sameColour(image.pixel(clipped.left() + i % clipped.width(), clipped.top() + i / clipped.width()),
                       colour, tolerance)) {
            return true;
        }
    }
    return false;
}

void windowPress(QWidget& widget, QPoint at) {
    send(widget, at, true, false);
}
void windowRelease(QWidget& widget, QPoint at) {
    send(widget, at, false, true);
}
void windowClick(QWidget& widget, QPoint at, Qt::KeyboardModifiers modifiers) {
    send(widget, at, true, true, modifiers);
}

} // namespace zav::test
