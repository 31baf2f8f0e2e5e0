#include "app/MainWindow.h"
#include "controls/SkinComboBox.h"
#include "controls/ToggleButton.h"
#include "pages/AssignmentPage.h"
#include "pages/KeyTables.h"
#include "pages/MoveButton.h"
#include "pages/PageLayout.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileLibrary.h"
#include "profiles/ProfileRecord.h"
#include "tests/e2e/BoxWatcher.h"
#include "tests/e2e/Rig.h"
#include "text/Texts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <fstream>

namespace zav {
namespace {

using test::BoxWatcher;
using test::drag;
using test::Rig;
using test::slotCentre;
using test::waitTransfer;

using test::q;

QStringList write(AssignmentPage* page) {
    BoxWatcher boxes;
    waitTransfer(page, [&] { QTest::mouseClick(page->control(1007), Qt::LeftButton); });
    (void)QTest::qWaitFor([&] { return !boxes.lines.isEmpty(); }, 2000);
    return boxes.lines;
}

TEST(ModelPages, every_model_writes_a_dropped_assignment_into_its_adapter) {
    for (int model = 1; model <= 3; ++model) {
        Rig rig(model);
        rig.start();
        AssignmentPage* page = rig.dlg->page(model);
        drag(page, 1049, 3); // "NC" onto slot 3
        ASSERT_EQ(page->slotLabel(3), QStringLiteral("NC")) << model;
        EXPECT_EQ(write(page), QStringList{q(TextId::WriteComplete)}) << model;
        const ProfileImage bank = rig.adapter.bank(model, 0);
        EXPECT_EQ(bank[static_cast<std::size_t>(slotToIndex(model, 3))], labelToCode(model, 0, "NC"))
            << model;
        EXPECT_EQ(bank, rig.dlg->link().sendImage(model)) << model;
    }
}

TEST(ModelPages, moss_playstation3_bank_goes_out_exchanged_and_reads_back_unchanged) {
    Rig rig(2);
    rig.start();
    AssignmentPage* page = rig.dlg->page(2);
    waitTransfer(page, [&] { test::choose(page->modeList(), 1); });
    ASSERT_EQ(page->mode(), 1);
    drag(page, 1049, 3);
    page->collect();
    const ProfileImage work = rig.dlg->link().workImage(2);
    ASSERT_NE(work[14], work[18]);
    EXPECT_EQ(write(page), QStringList{q(TextId::WriteComplete)});
    const ProfileImage stored = rig.adapter.bank(2, 1);
    EXPECT_EQ(stored[14], work[18]);
    EXPECT_EQ(stored[18], work[14]);
    EXPECT_EQ(stored[15], work[17]);
    EXPECT_EQ(stored[17], work[15]);
    // Away and back: the page reads it back as it was before the write.
    waitTransfer(page, [&] { test::choose(page->modeList(), 0); });
    waitTransfer(page, [&] { test::choose(page->modeList(), 1); });
    EXPECT_EQ(rig.dlg->link().workImage(2), work);
}

TEST(ModelPages, moss_third_mode_follows_the_capability) {
    Rig rig(2);
    rig.adapter.setCapability(4);
    rig.start();
    AssignmentPage* page = rig.dlg->page(2);
    EXPECT_EQ(page->modeList()->itemText(2), QStringLiteral("PC-Pad"));
    waitTransfer(page, [&] { test::choose(page->modeList(), 2); });
    EXPECT_EQ(page->mode(), 2);
    EXPECT_EQ(page->paletteButton(1179)->label(), QStringLiteral("A"));

    Rig keyboard(2);
    keyboard.adapter.setCapability(5);
    keyboard.start();
    AssignmentPage* kpage = keyboard.dlg->page(2);
    waitTransfer(kpage, [&] { test::choose(kpage->modeList(), 2); });
    EXPECT_EQ(kpage->mode(), 3);
    EXPECT_TRUE(kpage->slotButton(24)->isVisible());
    EXPECT_TRUE(kpage->control(1151)->isVisible());
}

TEST(ModelPages, moss_extra_keys_keep_their_codes_outside_keyboard_mode) {
    Rig rig(2);
    rig.start();
    AssignmentPage* page = rig.dlg->page(2);
    auto record = page->record();
    record[49] = 0x2A;
    record[50] = 0x2B;
    page->rebuild();
    page->collect();
    EXPECT_EQ(page->record()[49], 0x2A);
    EXPECT_EQ(page->record()[50], 0x2B);
}

TEST(ModelPages, fern_hides_its_keyboard_slots_when_leaving_keyboard_mode) {
    Rig rig(0);
    rig.start();
    AssignmentPage* page = rig.dlg->page(3);
    for (int slot = 29; slot <= 32; ++slot) {
        EXPECT_FALSE(page->slotButton(slot)->isVisible()) << slot;
    }
    rig.showTab(3);
    waitTransfer(page, [&] { test::choose(page->modeList(), 3); });
    for (int slot = 29; slot <= 32; ++slot) {
        EXPECT_TRUE(page->slotButton(slot)->isVisible()) << slot;
    }
    waitTransfer(page, [&] { test::choose(page->modeList(), 0); });
    for (int slot = 29; slot <= 32; ++slot) {
        EXPECT_FALSE(page->slotButton(slot)->isVisible()) << slot;
    }
}

TEST(ModelPages, mouse_only_slots_follow_the_attached_mouse) {
    Rig rig(2);
    rig.adapter.setMouse(0x046D, 0xC077); // an ordinary mouse
    rig.start();
    AssignmentPage* page = rig.dlg->page(2);
    EXPECT_FALSE(page->slotButton(16)->isVisible());
    EXPECT_FALSE(page->slotButton(17)->isVisible());
    // Nothing can be dropped there meanwhile.
    const QString before = page->slotLabel(16);
    drag(page, 1040, 16);
    EXPECT_EQ(page->slotLabel(16), before);

    QSignalSpy changed(rig.dlg.get(), &MainWindow::mouseKindChanged);
    rig.adapter.setMouse(0x2B7C, 0x00AF); // the family's own mouse
    ASSERT_TRUE(changed.wait(3000));
    EXPECT_TRUE(page->slotButton(16)->isVisible());
    EXPECT_TRUE(page->slotButton(17)->isVisible());
    EXPECT_TRUE(rig.dlg->page(3)->slotButton(25)->isVisible() || !rig.dlg->page(3)->isVisible());
}

// The hidden pages are built when first shown, and then look as if they had been there all along.
TEST(ModelPages, a_page_built_late_takes_the_language_and_mouse_of_the_window) {
    Rig rig(2);
    rig.adapter.setMouse(0x2B7C, 0x00AF); // the family's own mouse
    rig.start();
    // The first page and the one of the adapter.
    EXPECT_EQ(rig.dlg->findChildren<AssignmentPage*>().size(), 2u);
    rig.dlg->languageList()->setCurrentIndex(4);
    ASSERT_EQ(rig.dlg->findChildren<AssignmentPage*>().size(), 2u);

    QTest::mouseClick(rig.dlg->tab(3), Qt::LeftButton);
    AssignmentPage* fern = rig.dlg->page(3);
    ASSERT_EQ(rig.dlg->findChildren<AssignmentPage*>().size(), 3u);
    EXPECT_TRUE(fern->isVisible());
    EXPECT_FALSE(rig.dlg->page(2)->isVisible());
    const auto* writeButton = qobject_cast<QAbstractButton*>(fern->control(1007));
    ASSERT_NE(writeButton, nullptr);
    EXPECT_EQ(writeButton->text(), q(TextId::CaptionWrite, 4));
    EXPECT_EQ(fern->modeList()->itemText(3), q(TextId::ModeKeyboard, 4));
    EXPECT_TRUE(fern->slotButton(25)->isVisible());
    EXPECT_FALSE(fern->polling());
    EXPECT_TRUE(rig.dlg->page(2)->polling());
}

TEST(ModelPages, a_page_built_late_looks_as_one_built_at_start) {
    // Started in English: the pages are given the English captions and their fonts.
    Rig rig(0);
    rig.start(1033);
    EXPECT_TRUE(rig.dlg->page(1)->profileList()->currentText().isEmpty());
    QTest::mouseClick(rig.dlg->tab(3), Qt::LeftButton);
    AssignmentPage* fern = rig.dlg->page(3);
    // The pass that found no adapter cleared every page's profile name.
    EXPECT_TRUE(fern->profileList()->currentText().isEmpty());
    for (int id : {1090, 1155, 1158}) {
        EXPECT_EQ(fern->control(id)->font(), rig.dlg->page(1)->control(id)->font()) << id;
    }
}

TEST(ModelPages, a_file_of_another_model_is_refused_on_write) {
    Rig rig(1);
    // A MOSS profile in the KITE's PlayStation 4 folder.
    const auto folder = std::filesystem::path(rig.documents.path().toStdString()) / "ZAV Software" /
                        "ZAV KITE" / "ProfilePS4";
    std::filesystem::create_directories(folder);
    std::array<std::uint8_t, 55> moss{};
    ASSERT_TRUE(writeProfileFile(folder / "FromMoss.zav4", 2, moss, 0));
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    waitTransfer(page, [&] { test::choose(page->modeList(), 0); }); // lists the folder again
    const int index = page->profileList()->findText(QStringLiteral("FromMoss"));
    ASSERT_GE(index, 0);
    test::choose(page->profileList(), index);
    EXPECT_EQ(page->library().loadedFileModel(), 2);
    EXPECT_EQ(write(page), QStringList{q(TextId::OverwriteError)});
    // Without a name in the list the same page writes.
    page->profileList()->setEditText(QString());
    EXPECT_EQ(write(page), QStringList{q(TextId::WriteComplete)});
}

} // namespace
} // namespace zav

namespace zav {
namespace {

TEST(ProfileButtons, save_as_new_rename_and_delete_through_the_page) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    const std::filesystem::path folder = std::filesystem::path(rig.documents.path().toStdString()) /
                                         "ZAV Software" / "ZAV KITE" / "ProfilePS4";
    ASSERT_TRUE(std::filesystem::exists(folder / "Profile.zav4")); // the first-run profile
    ASSERT_TRUE(page->profileList()->currentText().isEmpty());

    // An empty list text saves as a new profile after asking.
    drag(page, 1049, 3);
    BoxWatcher boxes;
    QTest::mouseClick(page->control(1004), Qt::LeftButton);
    EXPECT_EQ(boxes.lines, QStringList{q(TextId::SaveAsNewQuestion)});
    ASSERT_TRUE(std::filesystem::exists(folder / "Profile0001.zav4"));
    EXPECT_EQ(page->profileList()->currentText(), QStringLiteral("Profile0001"));
    // The new profile holds what the page showed, the dropped "NC" included.
    std::array<std::uint8_t, 60> saved{};
    int mode = -1;
    int marker = -1;
    ASSERT_TRUE(readProfileFile(folder / "Profile0001.zav4", 1, saved, mode, marker));
    EXPECT_EQ(saved[static_cast<std::size_t>(slotToIndex(1, 3))], labelToCode(1, 0, "NC"));

    // A typed name renames it.
    boxes.lines.clear();
    page->profileList()->lineEdit()->selectAll();
    QTest::keyClicks(page->profileList()->lineEdit(), QStringLiteral("Sniper"));
    QTest::mouseClick(page->control(1004), Qt::LeftButton);
    EXPECT_EQ(boxes.lines, QStringList{q(TextId::SaveSucceeded)});
    EXPECT_TRUE(std::filesystem::exists(folder / "Sniper.zav4"));
    EXPECT_FALSE(std::filesystem::exists(folder / "Profile0001.zav4"));
    EXPECT_GE(page->profileList()->findText(QStringLiteral("Sniper")), 0);
    EXPECT_LT(page->profileList()->findText(QStringLiteral("Profile0001")), 0);

    // A name that cannot be a file name is refused and nothing is written.
    boxes.lines.clear();
    page->profileList()->lineEdit()->selectAll();
    QTest::keyClicks(page->profileList()->lineEdit(), QStringLiteral("../x"));
    QTest::mouseClick(page->control(1004), Qt::LeftButton);
    EXPECT_EQ(boxes.lines, QStringList{q(TextId::InvalidProfileName)});
    EXPECT_FALSE(std::filesystem::exists(folder.parent_path() / "x.zav4"));

    // Delete asks, then removes the file and its item.
    boxes.lines.clear();
    page->profileList()->lineEdit()->selectAll();
    QTest::keyClicks(page->profileList()->lineEdit(), QStringLiteral("Sniper"));
    QTest::mouseClick(page->control(1124), Qt::LeftButton);
    EXPECT_EQ(boxes.lines, QStringList{q(TextId::DeleteQuestion).section(QLatin1Char('\n'), 0, 0)});
    EXPECT_FALSE(std::filesystem::exists(folder / "Sniper.zav4"));
    EXPECT_LT(page->profileList()->findText(QStringLiteral("Sniper")), 0);
}

// Through the page's own buttons: a profile the list only shows is never renamed or overwritten by Save;
// New, Copy and Save that cannot write say so and keep the unsaved edit; Write takes what New made.
TEST(ProfileButtons, save_keeps_shown_profiles_and_failed_writes_keep_the_page) {
    Rig rig(1);
    const std::filesystem::path folder = std::filesystem::path(rig.documents.path().toStdString()) /
                                         "ZAV Software" / "ZAV KITE" / "ProfilePS4";
    std::filesystem::create_directories(folder);
    std::array<std::uint8_t, 60> kept{};
    kept.fill(0x04);
    ASSERT_TRUE(writeProfileFile(folder / "Keep.zav4", 1, kept, 0));
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    const auto bytes = [&](const char* name) {
        std::array<std::uint8_t, 60> record{};
        int mode = -1;
        int marker = -1;
        return readProfileFile(folder / name, 1, record, mode, marker) ? record
                                                                       : std::array<std::uint8_t, 60>{};
    };
    const auto type = [&](const QString& name) {
        page->profileList()->lineEdit()->selectAll();
        QTest::keyClicks(page->profileList()->lineEdit(), name);
    };

    drag(page, 1049, 3);
    BoxWatcher boxes;
    type(QStringLiteral("Keep"));
    QTest::mouseClick(page->control(1004), Qt::LeftButton);
    EXPECT_EQ(boxes.lines, QStringList{q(TextId::FileAlreadyExists)});
    EXPECT_EQ(bytes("Keep.zav4"), kept);

    boxes.lines.clear();
    type(QStringLiteral("Fresh"));
    QTest::mouseClick(page->control(1004), Qt::LeftButton);
    EXPECT_EQ(boxes.lines, QStringList{q(TextId::SaveSucceeded)});
    EXPECT_EQ(bytes("Keep.zav4"), kept);
    EXPECT_EQ(bytes("Fresh.zav4")[static_cast<std::size_t>(slotToIndex(1, 3))], labelToCode(1, 0, "NC"));

    // The folder turns into a file: nothing can be written there any more.
    const std::filesystem::path aside = folder.parent_path() / "aside";
    std::filesystem::rename(folder, aside);
    std::ofstream(folder).put('x');
    drag(page, 1049, 4);
    const QStringList items = [&] {
        QStringList all;
        for (int i = 0; i < page->profileList()->count(); ++i) {
            all << page->profileList()->itemText(i);
        }
        return all;
    }();
    boxes.lines.clear();
    QTest::mouseClick(page->control(1139), Qt::LeftButton); // New
    QTest::mouseClick(page->control(1140), Qt::LeftButton); // Copy
    page->profileList()->lineEdit()->clear();
    QTest::mouseClick(page->control(1004), Qt::LeftButton); // Save as new
    EXPECT_EQ(boxes.lines, (QStringList{q(TextId::SaveFailed), q(TextId::SaveFailed),
                                        q(TextId::SaveAsNewQuestion), q(TextId::SaveFailed)}));
    EXPECT_EQ(page->slotLabel(3), QStringLiteral("NC"));
    EXPECT_EQ(page->slotLabel(4), QStringLiteral("NC"));
    QStringList after;
    for (int i = 0; i < page->profileList()->count(); ++i) {
        after << page->profileList()->itemText(i);
    }
    EXPECT_EQ(after, items);

    // With the folder back, a New is written at once, and Write sends it.
    std::filesystem::remove(folder);
    std::filesystem::rename(aside, folder);
    boxes.lines.clear();
    QTest::mouseClick(page->control(1139), Qt::LeftButton);
    EXPECT_TRUE(boxes.lines.isEmpty());
    EXPECT_FALSE(page->profileList()->currentText().isEmpty());
    boxes.timer.stop(); // the write's own watcher answers from here
    EXPECT_EQ(write(page), QStringList{q(TextId::WriteComplete)});
}

} // namespace
} // namespace zav

namespace zav {
namespace {

// A profile of another mode takes that mode's bank first, so a Write changes only its own record.
TEST(ProfileLoad, a_file_of_another_mode_goes_into_that_modes_bank) {
    Rig rig(1);
    ProfileImage ps3 = rig.adapter.bank(1, 1);
    recordAt(ps3, 1, 2)[0] = 0x2A; // slot 3 of the adapter's PS3 bank
    ps3[400] = 0x5C;               // and a byte after the records
    rig.adapter.setBank(1, 1, ps3);
    const auto folder = std::filesystem::path(rig.documents.path().toStdString()) / "ZAV Software" /
                        "ZAV KITE" / "ProfilePS4";
    std::filesystem::create_directories(folder);
    std::array<std::uint8_t, 60> fromFile{};
    fromFile[0] = 0x11;
    ASSERT_TRUE(writeProfileFile(folder / "Ps3Profile.zav4", 1, fromFile, 1));
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    ASSERT_EQ(page->mode(), 0);
    const int index = page->profileList()->findText(QStringLiteral("Ps3Profile"));
    ASSERT_GE(index, 0);
    waitTransfer(page, [&] { test::choose(page->profileList(), index); });
    ASSERT_EQ(page->mode(), 1);
    EXPECT_EQ(recordAt(rig.dlg->link().workImage(1), 1, 0)[0], 0x11);
    EXPECT_EQ(recordAt(rig.dlg->link().workImage(1), 1, 2)[0], 0x2A);

    const ProfileImage ps4 = rig.adapter.bank(1, 0);
    EXPECT_EQ(write(page), QStringList{q(TextId::WriteComplete)});
    ProfileImage written = rig.adapter.bank(1, 1);
    EXPECT_EQ(recordAt(written, 1, 0)[0], 0x11);
    EXPECT_EQ(recordAt(written, 1, 2)[0], 0x2A);
    EXPECT_EQ(written[400], 0x5C);
    EXPECT_EQ(rig.adapter.bank(1, 0), ps4);
}

} // namespace
} // namespace zav
