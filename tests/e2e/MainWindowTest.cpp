// The window's own behaviour: which page shows, what it asks the adapter, and its command-line options.
#include "tests/e2e/Rig.h"

#include <QAbstractButton>
#include <QProcess>

namespace zav {
namespace {

using test::only;
using test::q;
using test::Rig;

TEST(MainWindow, starting_with_no_adapter_shows_the_first_page_and_sends_nothing) {
    Rig rig(0);
    rig.start();
    EXPECT_FALSE(rig.dlg->connected());
    EXPECT_TRUE(rig.dlg->page(1)->isVisible() && rig.dlg->tab(1)->on());
    EXPECT_FALSE(rig.dlg->page(1)->polling());
    // A double click on the title bar never resizes the window.
    QTest::mouseDClick(rig.dlg->windowHandle(), Qt::LeftButton, {}, QPoint(480, 20));
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.dlg->size(), QSize(MainWindow::kWidth, MainWindow::kHeight));
    rig.dlg->reject();
    EXPECT_TRUE(rig.adapter.frames().empty());
}

TEST(MainWindow, starting_with_a_fern_reads_it_once_and_closing_releases_it) {
    Rig rig(3);
    QSignalSpy reads(rig.dlg->page(3), &AssignmentPage::firstReadDone);
    rig.start();
    EXPECT_EQ(rig.dlg->currentTab(), 3);
    EXPECT_TRUE(rig.dlg->page(3)->polling());
    EXPECT_EQ(reads.count(), 1);
    EXPECT_EQ(test::count(rig.adapter, cmd::kReadStart), 1);

    // Another pass, or a device change that leaves it plugged, reads nothing more.
    rig.adapter.clearLog();
    rig.dlg->startConnectPass();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.dlg->passRunning(); }, 5000));
    QSignalSpy passes(rig.dlg.get(), &MainWindow::connectPassFinished);
    rig.deviceChange();
    EXPECT_EQ(passes.count(), 0);
    EXPECT_EQ(reads.count(), 1);
    EXPECT_TRUE(only(rig.adapter, cmd::kStatus));

    rig.adapter.clearLog();
    rig.dlg->reject();
    ASSERT_FALSE(rig.adapter.frameCodes().empty());
    EXPECT_EQ(rig.adapter.frameCodes().back(), cmd::kRelease);
    // After closing, a device change enumerates nothing.
    rig.adapter.clearLog();
    rig.dlg->onDeviceChange();
    QTest::qWait(50);
    EXPECT_TRUE(rig.adapter.frames().empty());
}

TEST(MainWindow, changes_during_a_pass_give_one_more_pass_after_it) {
    Rig rig(1);
    QSignalSpy passes(rig.dlg.get(), &MainWindow::connectPassFinished);
    rig.dlg->startConnectPass();
    rig.dlg->startConnectPass();
    rig.dlg->startConnectPass();
    ASSERT_TRUE(passes.wait(3000));
    EXPECT_EQ(passes.count(), 1);
    EXPECT_FALSE(rig.dlg->passRunning());
    EXPECT_EQ(test::count(rig.adapter, cmd::kReadStart), 1);
}

// A tab click shows its page without a word to the adapter; a page built late is in the window's language
// and shows its mouse.
TEST(MainWindow, a_tab_click_shows_its_page_without_touching_the_adapter) {
    Rig rig(2);
    rig.adapter.setMouse(0x2B7C, 0x00AF); // the family's own mouse
    rig.start();
    rig.dlg->languageList()->setCurrentIndex(4);
    ASSERT_TRUE(rig.dlg->page(2)->readFromDevice(0));
    rig.adapter.clearLog();
    rig.showTab(3);
    AssignmentPage* fern = rig.dlg->page(3);
    EXPECT_TRUE(fern->isVisible() && !rig.dlg->page(2)->isVisible());
    EXPECT_TRUE(rig.dlg->tab(3)->on() && !rig.dlg->tab(2)->on());
    EXPECT_FALSE(fern->polling());
    EXPECT_TRUE(rig.dlg->page(2)->polling());
    EXPECT_TRUE(only(rig.adapter, cmd::kStatus));
    EXPECT_EQ(qobject_cast<QAbstractButton*>(fern->control(1007))->text(), q(TextId::CaptionWrite, 4));
    EXPECT_TRUE(fern->slotButton(25)->isVisible());
    // Back on the MOSS tab, what its page read is forgotten.
    rig.showTab(2);
    EXPECT_FALSE(rig.dlg->page(2)->readFromDevice(0));
}

TEST(MainWindow, the_moss_capability_picks_its_third_mode) {
    for (const auto& [capability, mode] : {std::pair{4, 2}, std::pair{5, 3}}) { // PC-Pad, or KeyBoard
        SCOPED_TRACE(capability);
        Rig rig(2);
        rig.adapter.setCapability(static_cast<std::uint8_t>(capability));
        rig.start();
        AssignmentPage* page = rig.dlg->page(2);
        test::waitTransfer(page, [&] { test::choose(page->modeList(), 2); });
        EXPECT_EQ(page->mode(), mode);
        EXPECT_EQ(page->slotButton(24)->isVisible(), mode == 3);
    }
}

#ifdef ZAVORA_PATH
TEST(MainWindow, help_and_version_answer_without_a_display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        env.remove(QString::fromLatin1(name));
    }
    for (const auto& [option, expected] :
         {std::pair{"--help", "Usage"}, std::pair{"--version", "zavora 0.1.0"}}) {
        QProcess zavora;
        zavora.setProcessEnvironment(env);
        zavora.start(QStringLiteral(ZAVORA_PATH), {QString::fromLatin1(option)});
        ASSERT_TRUE(zavora.waitForFinished(5000)) << option;
        EXPECT_TRUE(zavora.exitStatus() == QProcess::NormalExit && zavora.exitCode() == 0) << option;
        EXPECT_TRUE(zavora.readAllStandardOutput().contains(expected)) << option;
    }
}
#endif

} // namespace
} // namespace zav
