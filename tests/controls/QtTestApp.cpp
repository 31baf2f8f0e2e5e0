#include "tests/controls/QtTestApp.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <cstdlib>

namespace zav::test {

namespace {

// The widgets need one application object for the whole run.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // No display is needed, and the pictures come from the source tree unless told otherwise.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
#ifdef ZAVORA_TEST_RES_DIR
        if (qEnvironmentVariableIsEmpty("ZAVORA_RES_DIR")) {
            qputenv("ZAVORA_RES_DIR", ZAVORA_TEST_RES_DIR);
        }
#endif
        // Every Write keeps a backup: never in the account's own state folder.
        qputenv("XDG_STATE_HOME", state_.path().toLocal8Bit());
        static int argc = 1;
        static char name[] = "controls_tests";
        static char* argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    QApplication* app_ = nullptr;
    QTemporaryDir state_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

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
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (sameColour(image.pixel(x, y), colour, tolerance)) {
                return true;
            }
        }
    }
    return false;
}

namespace {

QWindow* topWindow(QWidget& widget, QPoint at, QPoint& inWindow) {
    QWidget* top = widget.window();
    inWindow = widget.mapTo(top, at);
    return top->windowHandle();
}

} // namespace

void windowPress(QWidget& widget, QPoint at) {
    QPoint inWindow;
    QWindow* window = topWindow(widget, at, inWindow);
    QTest::mousePress(window, Qt::LeftButton, {}, inWindow);
    QApplication::processEvents();
}

void windowRelease(QWidget& widget, QPoint at) {
    QPoint inWindow;
    QWindow* window = topWindow(widget, at, inWindow);
    QTest::mouseRelease(window, Qt::LeftButton, {}, inWindow);
    QApplication::processEvents();
}

void windowClick(QWidget& widget, QPoint at, Qt::KeyboardModifiers modifiers) {
    QPoint inWindow;
    QWindow* window = topWindow(widget, at, inWindow);
    QTest::mousePress(window, Qt::LeftButton, modifiers, inWindow);
    QApplication::processEvents();
    QTest::mouseRelease(window, Qt::LeftButton, modifiers, inWindow);
    QApplication::processEvents();
}

} // namespace zav::test
