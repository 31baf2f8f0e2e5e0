#include "app/MainWindow.h"
#include "controls/SkinComboBox.h"
#include "controls/ToggleButton.h"
#include "device/DeviceWorker.h"
#include "device/SimulatedAdapter.h"
#include "pages/AssignmentPage.h"
#include "profiles/AdapterBanks.h"
#include "tests/e2e/Rig.h"
#include "text/Texts.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace zav {
namespace {

using test::Rig;

using test::q;

TEST(MainWindow, starting_with_no_adapter_shows_the_first_page_and_polls_nothing) {
    Rig rig(0);
    rig.start();
    EXPECT_FALSE(rig.dlg->connected());
    EXPECT_EQ(rig.dlg->currentTab(), 1);
    EXPECT_TRUE(rig.dlg->page(1)->isVisible());
    EXPECT_FALSE(rig.dlg->page(2)->isVisible());
    EXPECT_TRUE(rig.dlg->tab(1)->on());
    for (int m = 1; m <= 3; ++m) {
        EXPECT_FALSE(rig.dlg->page(m)->polling()) << m;
    }
    EXPECT_TRUE(rig.adapter.frames().empty());
}

TEST(MainWindow, starting_with_a_fern_brings_its_page_forward_and_reads_once) {
    Rig rig(3);
    QSignalSpy reads(rig.dlg->page(3), &AssignmentPage::firstReadDone);
    rig.start();
    EXPECT_TRUE(rig.dlg->connected());
    EXPECT_EQ(rig.dlg->currentTab(), 3);
    EXPECT_TRUE(rig.dlg->tab(3)->on());
    EXPECT_FALSE(rig.dlg->tab(1)->on());
    EXPECT_TRUE(rig.dlg->page(3)->isVisible());
    EXPECT_FALSE(rig.dlg->page(1)->isVisible());
    EXPECT_TRUE(rig.dlg->page(3)->polling());
    EXPECT_FALSE(rig.dlg->page(1)->polling());
    EXPECT_EQ(reads.count(), 1);
    EXPECT_TRUE(rig.dlg->readDone());
    EXPECT_TRUE(rig.dlg->page(3)->readFromDevice(0));
    // Identification, then one bank read.
    const auto codes = rig.adapter.frameCodes();
    ASSERT_GE(codes.size(), 19u);
    EXPECT_EQ(codes[0], 0x71);
    EXPECT_EQ(codes[1], 0x72);
    EXPECT_EQ(codes[18], 0x74);

    // Another pass without a device change reads nothing more.
    rig.adapter.clearLog();
    rig.pass();
    EXPECT_EQ(reads.count(), 1);
    for (std::uint8_t code : rig.adapter.frameCodes()) {
        EXPECT_EQ(code, 0x71);
    }
}

TEST(MainWindow, the_first_read_shows_what_the_adapter_holds) {
    Rig rig(1);
    ProfileImage bank = rig.adapter.bank(1, 0);
    bank[0] = 0x2A;
    bank[511] = 0x5C;
    rig.adapter.setBank(1, 0, bank);
    rig.start();
    EXPECT_EQ(rig.dlg->link().workImage(1), bank);
    EXPECT_EQ(rig.dlg->link().sendImage(1), bank);
}

TEST(MainWindow, a_failed_first_read_does_not_mark_the_mode_read) {
    Rig rig(1);
    rig.adapter.dropReadChunkReply(3);
    const ProfileImage before = rig.dlg->link().workImage(1);
    rig.start();
    EXPECT_TRUE(rig.dlg->connected());
    EXPECT_FALSE(rig.dlg->page(1)->readFromDevice(0));
    EXPECT_EQ(rig.dlg->link().workImage(1), before);
}

TEST(MainWindow, unplugging_a_moss_keeps_its_page_in_front_and_stops_its_poll) {
    Rig rig(2);
    rig.start();
    ASSERT_TRUE(rig.dlg->connected());
    rig.dlg->page(2)->profileList()->setEditText(QStringLiteral("Mine"));
    ASSERT_TRUE(rig.dlg->page(2)->polling());

    rig.adapter.unplug();
    rig.deviceChange();
    EXPECT_FALSE(rig.dlg->connected());
    EXPECT_FALSE(rig.dlg->knownConnected());
    EXPECT_EQ(rig.dlg->currentTab(), 2);
    EXPECT_TRUE(rig.dlg->page(2)->isVisible());
    EXPECT_TRUE(rig.dlg->page(2)->profileList()->currentText().isEmpty());
    // The poll finds the adapter gone at its next tick and stops.
    QSignalSpy ticks(rig.dlg->page(2), &AssignmentPage::pollDone);
    ASSERT_TRUE(ticks.wait(2000));
    EXPECT_FALSE(rig.dlg->page(2)->polling());
}

TEST(MainWindow, plugging_in_later_connects_and_reads) {
    Rig rig(0);
    rig.start();
    ASSERT_FALSE(rig.dlg->connected());
    QSignalSpy reads(rig.dlg->page(1), &AssignmentPage::firstReadDone);
    rig.adapter.plug(1);
    rig.deviceChange();
    EXPECT_TRUE(rig.dlg->connected());
    EXPECT_TRUE(rig.dlg->knownConnected());
    EXPECT_EQ(reads.count(), 1);
    EXPECT_TRUE(rig.dlg->page(1)->polling());
}

TEST(MainWindow, a_device_change_while_still_plugged_starts_no_pass) {
    Rig rig(1);
    rig.start();
    QSignalSpy passes(rig.dlg.get(), &MainWindow::connectPassFinished);
    rig.deviceChange();
    EXPECT_EQ(passes.count(), 0);
    EXPECT_FALSE(rig.dlg->readDone());
    EXPECT_TRUE(rig.dlg->connected());
}

TEST(MainWindow, changes_during_a_pass_give_one_more_pass_after_it) {
    Rig rig(1);
    QSignalSpy passes(rig.dlg.get(), &MainWindow::connectPassFinished);
    rig.dlg->startConnectPass();
    rig.dlg->startConnectPass();
    rig.dlg->startConnectPass();
    EXPECT_TRUE(rig.dlg->passRunning());
    ASSERT_TRUE(passes.wait(3000));
    // Three requests, but the second and third ran as one pass after the first.
    EXPECT_EQ(passes.count(), 1);
    EXPECT_FALSE(rig.dlg->passRunning());
    const auto codes = rig.adapter.frameCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 0x72), 1);
}

TEST(MainWindow, selecting_a_tab_shows_its_page_without_touching_the_adapter) {
    Rig rig(1);
    rig.start();
    rig.adapter.clearLog();
    rig.dlg->page(2)->mode();
    QTest::mouseClick(rig.dlg->tab(2), Qt::LeftButton);
    EXPECT_EQ(rig.dlg->currentTab(), 2);
    EXPECT_TRUE(rig.dlg->page(2)->isVisible());
    EXPECT_FALSE(rig.dlg->page(1)->isVisible());
    EXPECT_TRUE(rig.dlg->tab(2)->on());
    EXPECT_FALSE(rig.dlg->tab(1)->on());
    EXPECT_TRUE(rig.dlg->page(1)->polling());
    for (std::uint8_t code : rig.adapter.frameCodes()) {
        EXPECT_EQ(code, 0x71); // only the first page's poll
    }
    // Pressing the selected tab again leaves it on.
    QTest::mouseClick(rig.dlg->tab(2), Qt::LeftButton);
    EXPECT_TRUE(rig.dlg->tab(2)->on());
}

TEST(MainWindow, selecting_a_tab_forgets_what_its_page_read) {
    Rig rig(1);
    rig.start();
    ASSERT_TRUE(rig.dlg->page(1)->readFromDevice(0));
    QTest::mouseClick(rig.dlg->tab(1), Qt::LeftButton);
    EXPECT_FALSE(rig.dlg->page(1)->readFromDevice(0));
}

TEST(MainWindow, the_moss_capability_picks_its_third_mode) {
    for (const auto& [capability, third] :
         {std::pair{4, TextId::ModePcPad}, std::pair{5, TextId::ModeKeyboard}}) {
        Rig rig(2);
        rig.adapter.setCapability(static_cast<std::uint8_t>(capability));
        rig.start();
        EXPECT_EQ(rig.dlg->page(2)->capability(), capability);
        SkinComboBox* modes = rig.dlg->page(2)->modeList();
        ASSERT_EQ(modes->count(), 3);
        EXPECT_EQ(modes->itemText(0), QStringLiteral("Playstation4"));
        EXPECT_EQ(modes->itemText(2), q(third, 0)) << capability;
    }
}

TEST(MainWindow, the_moss_capability_is_asked_with_the_page_mode) {
    Rig rig(2);
    rig.start();
    const auto frames = rig.adapter.frames();
    // Identification "q", bank read, then the capability "q" with the page's mode.
    ASSERT_GE(frames.size(), 20u);
    EXPECT_EQ(frames[19].code(), 0x71);
    EXPECT_EQ(frames[19].param(), 0);
}

TEST(MainWindow, caption_pass_in_every_language) {
    Rig rig(0);
    rig.start();
    for (int language = 0; language < kLanguageCount; ++language) {
        rig.dlg->languageList()->setCurrentIndex(language);
        EXPECT_EQ(rig.dlg->language(), language);
        EXPECT_EQ(rig.dlg->tab(1)->text(), q(TextId::TabKite, language));
        EXPECT_EQ(rig.dlg->tab(2)->text(), q(TextId::TabMoss, language));
        EXPECT_EQ(rig.dlg->tab(3)->text(), q(TextId::TabFern, language));
        EXPECT_EQ(rig.dlg->page(1)->modeList()->itemText(3), q(TextId::ModeKeyboard, language));
    }
    rig.dlg->languageList()->setCurrentIndex(3);
    EXPECT_EQ(rig.dlg->tab(1)->text(), QStringLiteral("ZAV A1"));
    EXPECT_EQ(q(TextId::LanguageLabel, 4), QStringLiteral("语言"));
}

TEST(MainWindow, system_language_picks_the_list_entry) {
    Rig rig(0);
    rig.dlg->PickSystemLanguage(3084); // French, Canada
    EXPECT_EQ(rig.dlg->language(), 1);
    EXPECT_EQ(rig.dlg->languageList()->currentIndex(), 1);
    Rig other(0);
    other.dlg->PickSystemLanguage(1034); // Spanish: nothing changes
    EXPECT_EQ(other.dlg->language(), 0);
    EXPECT_EQ(other.dlg->languageList()->currentIndex(), 0);
}

TEST(MainWindow, language_label_is_painted_in_the_chosen_language) {
    Rig rig(0);
    rig.start();
    const QImage english = rig.dlg->grab(QRect(625, 3, 120, 25)).toImage();
    rig.dlg->languageList()->setCurrentIndex(2);
    EXPECT_EQ(rig.dlg->grab(QRect(625, 3, 120, 25)).toImage(), english); // "Language" for 0..3
    rig.dlg->languageList()->setCurrentIndex(4);
    EXPECT_NE(rig.dlg->grab(QRect(625, 3, 120, 25)).toImage(), english);
}

TEST(MainWindow, double_click_never_resizes_the_window) {
    Rig rig(0);
    rig.start();
    const QRect before = rig.dlg->geometry();
    QTest::mouseDClick(rig.dlg.get(), Qt::LeftButton, {}, QPoint(480, 20));
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.dlg->geometry().size(), before.size());
    EXPECT_FALSE(rig.dlg->isMaximized());
    EXPECT_EQ(rig.dlg->size(), QSize(960, 700));
}

TEST(MainWindow, closing_releases_a_connected_adapter) {
    Rig rig(1);
    rig.start();
    rig.adapter.clearLog();
    rig.dlg->reject();
    const auto codes = rig.adapter.frameCodes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), 0x79);
    EXPECT_TRUE(rig.dlg->link().closing());
    // After closing, a device change enumerates nothing.
    rig.adapter.clearLog();
    rig.dlg->onDeviceChange();
    QTest::qWait(50);
    EXPECT_TRUE(rig.adapter.frames().empty());
}

TEST(MainWindow, closing_without_an_adapter_sends_nothing) {
    Rig rig(0);
    rig.start();
    rig.dlg->reject();
    EXPECT_TRUE(rig.adapter.frames().empty());
}

} // namespace
} // namespace zav
