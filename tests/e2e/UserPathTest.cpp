// What a user meets first, driven through the real input path: clicks at the controls' places sent
// through the top-level window, keys on the focused widget.
#include "app/MainWindow.h"
#include "app/SimulatorWindow.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinMessageBox.h"
#include "device/SimulatedAdapter.h"
#include "pages/AssignmentPage.h"
#include "pages/MoveButton.h"
#include "pages/PageLayout.h"
#include "profiles/ProfileLibrary.h"
#include "tests/e2e/BoxWatcher.h"
#include "tests/e2e/Rig.h"
#include "text/Texts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace zav {
namespace {

using test::BoxWatcher;
using test::drag;
using test::q;
using test::Rig;
using test::slotCentre;
using test::waitTransfer;

constexpr int kWaitMs = 5000;
constexpr int kWrite = 1007;
constexpr int kSave = 1004;
constexpr int kNew = 1139;
constexpr int kCaptureOk = 1089;
constexpr int kCaptureFn = 1151;
constexpr int kL1Palette = 1040;
const QColor kFrame(136, 45, 45);

// A click at the middle of a control, delivered by the window system.
void click(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    test::windowClick(*widget, widget->rect().center());
}

void pressKey(Qt::Key key) {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, key);
}

bool waitTransfer(AssignmentPage* page, QSignalSpy& done, int count) {
    return QTest::qWaitFor([&] { return done.count() >= count && !page->busy(); }, kWaitMs);
}

bool anyWriteFrame(const SimulatedAdapter& adapter) {
    const auto codes = adapter.frameCodes();
    return std::find(codes.begin(), codes.end(), std::uint8_t{0x75}) != codes.end();
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// --- focus and transfers -----------------------------------------------------------------------

TEST(UserPath, arrow_keys_keep_changing_the_mode_after_each_transfer) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    ASSERT_EQ(page->mode(), 0);
    // The list takes the focus as a person gives it: a click opens it, Escape closes it.
    click(page->modeList());
    ASSERT_TRUE(page->modeList()->view()->isVisible());
    QTest::keyClick(page->modeList()->view(), Qt::Key_Escape);
    ASSERT_FALSE(page->modeList()->view()->isVisible());

    QSignalSpy done(page, &AssignmentPage::transferDone);
    pressKey(Qt::Key_Down);
    ASSERT_TRUE(waitTransfer(page, done, 1));
    EXPECT_EQ(page->mode(), 1);
    pressKey(Qt::Key_Down);
    ASSERT_TRUE(waitTransfer(page, done, 2));
    EXPECT_EQ(page->mode(), 2);
}

// --- key capture -------------------------------------------------------------------------------

struct KeyCapture : ::testing::Test {
    void SetUp() override {
        rig.start();
        page = rig.dlg->page(1);
        QSignalSpy done(page, &AssignmentPage::transferDone);
        test::choose(page->modeList(), 3);
        ASSERT_TRUE(waitTransfer(page, done, 1));
        click(page->slotButton(3));
        ASSERT_TRUE(page->captureOn());
    }
    Rig rig{1};
    AssignmentPage* page = nullptr;
};

TEST_F(KeyCapture, a_tab_click_shows_that_page_and_ends_the_capture) {
    rig.showTab(2);
    EXPECT_TRUE(rig.dlg->page(2)->isVisible());
    EXPECT_FALSE(page->isVisible());
    EXPECT_FALSE(page->captureOn());
}

TEST_F(KeyCapture, the_language_list_still_opens) {
    auto* languages = rig.dlg->findChild<SkinComboBox*>(QStringLiteral("1150"));
    ASSERT_NE(languages, nullptr);
    test::windowClick(*languages, QPoint(languages->width() - 8, languages->height() / 2));
    EXPECT_TRUE(languages->view()->isVisible());
    EXPECT_TRUE(page->captureOn());
    QTest::keyClick(languages->view(), Qt::Key_Escape);
}

TEST_F(KeyCapture, a_double_click_on_write_is_captured_and_writes_nothing) {
    QWidget* write = page->control(kWrite);
    const QPoint at = write->mapTo(rig.dlg.get(), write->rect().center());
    BoxWatcher boxes; // a write that slipped through would end in a box
    rig.adapter.clearLog();
    QTest::mouseDClick(rig.dlg->windowHandle(), Qt::LeftButton, {}, at);
    QTest::qWait(100);
    EXPECT_FALSE(anyWriteFrame(rig.adapter));
    EXPECT_TRUE(boxes.lines.isEmpty());
    EXPECT_EQ(page->capturedText(), QStringLiteral("MsL"));
    EXPECT_TRUE(page->captureOn());
}

// A capture starts empty, and Fn goes only where its button may put it.
TEST(UserPath, a_new_capture_starts_empty_and_an_empty_ok_changes_nothing) {
    Rig rig(2);
    rig.adapter.setCapability(5);
    rig.start();
    AssignmentPage* page = rig.dlg->page(2);
    QSignalSpy done(page, &AssignmentPage::transferDone);
    test::choose(page->modeList(), 2);
    ASSERT_TRUE(waitTransfer(page, done, 1));
    ASSERT_EQ(page->mode(), 3);

    BoxWatcher boxes;
    click(page->slotButton(5));
    click(page->control(kCaptureFn));
    click(page->control(kCaptureOk));
    EXPECT_EQ(page->slotLabel(5), QStringLiteral("Fn"));

    const QString before = page->slotLabel(6);
    click(page->slotButton(6));
    ASSERT_TRUE(page->captureOn());
    EXPECT_EQ(page->capturedText(), QString());
    click(page->control(kCaptureOk));
    EXPECT_EQ(page->slotLabel(6), before);
    EXPECT_TRUE(boxes.lines.isEmpty());
}

// --- profiles ----------------------------------------------------------------------------------

TEST(UserPath, typing_an_existing_name_never_loads_and_save_refuses_it) {
    Rig rig(0);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    BoxWatcher boxes;
    const std::filesystem::path existing = page->library().profileFolder() / "Profile.zav4";
    ASSERT_TRUE(std::filesystem::exists(existing));
    const std::string stored = fileBytes(existing);

    click(page->control(kNew));
    drag(page, kL1Palette, slotCentre(page, 2));
    ASSERT_EQ(page->slotLabel(2), QStringLiteral("L1"));
    boxes.lines.clear();

    QLineEdit* name = page->profileList()->lineEdit();
    test::windowClick(*name, name->rect().center());
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Pro"));
    QTest::qWait(50);
    EXPECT_EQ(name->text(), QStringLiteral("Pro")); // not completed
    QTest::keyClicks(name, QStringLiteral("file"));
    pressKey(Qt::Key_Tab);
    QTest::qWait(50);
    EXPECT_EQ(page->slotLabel(2), QStringLiteral("L1"));
    EXPECT_TRUE(boxes.lines.isEmpty());

    click(page->control(kSave));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.lines.isEmpty(); }, kWaitMs));
    EXPECT_EQ(boxes.lines, QStringList{q(TextId::FileAlreadyExists)});
    EXPECT_EQ(fileBytes(existing), stored);
    EXPECT_EQ(page->slotLabel(2), QStringLiteral("L1"));
}

TEST(UserPath, copy_makes_names_longer_than_one_can_type) {
    Rig rig(0);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    BoxWatcher boxes;
    QLineEdit* name = page->profileList()->lineEdit();
    test::windowClick(*name, name->rect().center());
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Profile0001(1)(1)(1)")); // 20 characters, the typing limit
    click(page->control(1140));
    EXPECT_TRUE(boxes.lines.isEmpty()) << boxes.lines.join(QStringLiteral(" / ")).toStdString();
    EXPECT_TRUE(std::filesystem::exists(page->library().profileFolder() / "Profile0001(1)(1)(1)(1).zav4"));
}

// --- painting ----------------------------------------------------------------------------------

// Collects what a widget is asked to repaint.
struct PaintSpy : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
    QRegion painted;
};

TEST(UserPath, mouse_not_connected_is_repainted_when_the_mouse_changes) {
    Rig rig(1);
    SimulatorWindow::applyMouse(rig.adapter, SimulatorWindow::Mouse::Ordinary);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    QSignalSpy polls(page, &AssignmentPage::pollDone);
    ASSERT_TRUE(polls.wait(kWaitMs));
    const QRect text(692, 513, 208, 78);

    for (const auto mouse : {SimulatorWindow::Mouse::None, SimulatorWindow::Mouse::Ordinary}) {
        QTest::qWait(50);
        PaintSpy spy;
        page->installEventFilter(&spy);
        SimulatorWindow::applyMouse(rig.adapter, mouse);
        const int seen = polls.count();
        ASSERT_TRUE(QTest::qWaitFor([&] { return polls.count() > seen; }, kWaitMs));
        QTest::qWait(50);
        page->removeEventFilter(&spy);
        // QRegion::contains(QRect) only asks for an overlap.
        EXPECT_TRUE((QRegion(text) - spy.painted).isEmpty())
            << "painted down to y " << spy.painted.boundingRect().bottom();
    }
}

// The window's inner frame and the page's profile frame end one pixel before their right and bottom.
TEST(UserPath, frames_leave_out_their_right_and_bottom_edges) {
    Rig rig(0);
    rig.start();
    ASSERT_EQ(rig.dlg->size(), QSize(960, 700));
    // The window's own drawing: the page covers the frame's right and bottom edges.
    QImage window(rig.dlg->size(), QImage::Format_RGB32);
    rig.dlg->render(&window, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    EXPECT_TRUE(test::sameColour(window.pixel(7, 300), kFrame));
    EXPECT_TRUE(test::sameColour(window.pixel(951, 300), kFrame));
    EXPECT_FALSE(test::sameColour(window.pixel(952, 300), kFrame));
    EXPECT_TRUE(test::sameColour(window.pixel(300, 59), kFrame));
    EXPECT_TRUE(test::sameColour(window.pixel(300, 671), kFrame));
    EXPECT_FALSE(test::sameColour(window.pixel(300, 672), kFrame));
    // On screen, beside the page, only the left and top edges show.
    const QImage shown = rig.dlg->grab().toImage();
    EXPECT_FALSE(test::sameColour(shown.pixel(952, 300), kFrame));
    EXPECT_FALSE(test::sameColour(shown.pixel(300, 672), kFrame));

    const QImage page = rig.dlg->page(1)->grab().toImage();
    EXPECT_TRUE(test::sameColour(page.pixel(409, 50), kFrame));
    EXPECT_TRUE(test::sameColour(page.pixel(673, 50), kFrame));
    EXPECT_FALSE(test::sameColour(page.pixel(674, 50), kFrame));
    EXPECT_TRUE(test::sameColour(page.pixel(440, 89), kFrame));
    EXPECT_FALSE(test::sameColour(page.pixel(440, 90), kFrame));
}

// --- other windows -----------------------------------------------------------------------------

TEST(UserPath, another_window_takes_clicks_while_a_message_box_is_open) {
    Rig rig(0);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    QWidget other;
    auto* button = new QPushButton(QStringLiteral("Unplug"), &other);
    button->resize(120, 40);
    other.move(rig.dlg->geometry().right() + 20, 0);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    QSignalSpy clicked(button, &QPushButton::clicked);

    QString shown;
    QTimer::singleShot(100, [&] {
        auto* box = qobject_cast<SkinMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        shown = box->line(0);
        test::windowClick(*button, button->rect().center());
        box->accept();
    });
    click(page->control(kWrite));
    EXPECT_EQ(shown, q(TextId::ZavNotConnected));
    EXPECT_EQ(clicked.count(), 1);
}

TEST(UserPath, the_simulator_window_stands_on_screen_clear_of_the_close_button) {
    const QRect screen(0, 0, 1280, 800);
    const QSize size(960, 700);
    const QRect main(QPoint((1280 - 960) / 2, (800 - 700) / 2), size);
    const QSize simulator(320, 240);
    const QRect placed(SimulatorWindow::placeBeside(main, simulator, screen), simulator);
    EXPECT_TRUE(screen.contains(placed)) << placed.x() << "," << placed.y();
    const QRect closeButton = QRect(933, 2, 25, 25).translated(main.topLeft());
    EXPECT_FALSE(placed.intersects(closeButton));
}

// --- the terminal ------------------------------------------------------------------------------

#ifdef ZAVORA_PATH
TEST(UserPath, help_and_version_answer_without_a_display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const auto& [option, expected] :
         {std::pair{"--help", "Usage"}, std::pair{"--version", "zavora 0.1.0"}}) {
        QProcess zavora;
        zavora.setProcessEnvironment(env);
        zavora.start(QStringLiteral(ZAVORA_PATH), {QString::fromLatin1(option)});
        ASSERT_TRUE(zavora.waitForFinished(5000)) << option;
        EXPECT_EQ(zavora.exitStatus(), QProcess::NormalExit) << option;
        EXPECT_EQ(zavora.exitCode(), 0) << option;
        EXPECT_TRUE(zavora.readAllStandardOutput().contains(expected)) << option;
    }
}
#endif

} // namespace
} // namespace zav
