#include "tests/e2e/Rig.h"

#include <QAbstractButton>
#include <QProcess>

namespace zav {
namespace {

using namespace test;

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

// Passes asked for during a pass make no pass of their own; the adapter is read once.
TEST(MainWindow, starting_with_a_fern_reads_it_once_and_closing_releases_it) {
    Rig rig(3);
    QSignalSpy reads(rig.dlg->page(3), &AssignmentPage::firstReadDone);
    QSignalSpy passes(rig.dlg.get(), &MainWindow::connectPassFinished);
    rig.dlg->start(1033);
    rig.dlg->startConnectPass();
    rig.dlg->startConnectPass();
    ASSERT_TRUE(passes.wait(5000));
    EXPECT_TRUE(passes.count() == 1 && !rig.dlg->passRunning());
    EXPECT_TRUE(rig.dlg->currentTab() == 3 && rig.dlg->page(3)->polling());
    EXPECT_EQ(reads.count(), 1);
    EXPECT_EQ(test::count(rig.adapter, cmd::kReadStart), 1);

    // Another pass, or a device change that leaves it plugged, reads nothing more.
    rig.adapter.clearLog();
    rig.dlg->startConnectPass();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.dlg->passRunning(); }, 5000));
    passes.clear();
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

// The slots of the family's own mouse show only with it and take no drop meanwhile, even when a Write's
// status frame sees it first. A tab click shows its page without a word to the adapter; a page built late is
// in the window's language and shows the mouse.
TEST(MainWindow, mouse_only_slots_and_a_tab_click_that_does_not_touch_the_adapter) {
    Rig rig(2);
    rig.adapter.setMouse(0x046D, 0xC077); // an ordinary mouse
    rig.adapter.setCapability(4);         // its third mode is PC-Pad
    rig.start();
    AssignmentPage* page = rig.page(2);
    QSignalSpy polls(page, &AssignmentPage::pollDone);
    ASSERT_TRUE(polls.wait(5000));
    ASSERT_FALSE(page->slotButton(16)->isVisible());
    const QString before = page->slotLabel(16);
    test::drag(page, 1040, 16);
    EXPECT_EQ(page->slotLabel(16), before);
    rig.adapter.setMouse(0x2B7C, 0x00AF); // the family's own mouse
    EXPECT_EQ(test::pressWrite(page), QStringList{q(TextId::WriteComplete)});
    EXPECT_TRUE(QTest::qWaitFor([&] { return page->slotButton(16)->isVisible(); }, 2000));
    EXPECT_TRUE(page->slotButton(17)->isVisible());

    rig.dlg->languageList()->setCurrentIndex(4);
    ASSERT_TRUE(rig.dlg->page(2)->readFromDevice(0));
    rig.adapter.clearLog();
    rig.showTab(3);
    AssignmentPage* fern = rig.dlg->page(3);
    EXPECT_TRUE(fern->isVisible() && !rig.dlg->page(2)->isVisible());
    EXPECT_TRUE(rig.dlg->tab(3)->on() && !rig.dlg->tab(2)->on());
    EXPECT_TRUE(!fern->polling() && rig.dlg->page(2)->polling());
    EXPECT_TRUE(only(rig.adapter, cmd::kStatus));
    EXPECT_EQ(qobject_cast<QAbstractButton*>(fern->control(1007))->text(), q(TextId::CaptionWrite, 4));
    EXPECT_TRUE(fern->slotButton(25)->isVisible());
    // Back on the MOSS tab, what its page read is forgotten.
    rig.showTab(2);
    EXPECT_FALSE(rig.dlg->page(2)->readFromDevice(0));
    test::waitTransfer(page, [&] { test::choose(page->modeList(), 2); });
    EXPECT_EQ(page->mode(), 2);
    EXPECT_FALSE(page->slotButton(24)->isVisible());
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
