#include "pages/KeyTables.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileLibrary.h"
#include "profiles/ProfileRecord.h"
#include "tests/e2e/Rig.h"

#include <array>

namespace zav {
namespace {

using namespace test;

constexpr int kNcPalette = 1049, kL1Palette = 1040, kFnPalette = 1111;

const auto click = [](QWidget* w) { windowClick(*w, w->rect().center()); };
const auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };

// A function dropped or clicked where it may not go is refused; keys and clicks in a capture stay there.
TEST(Pages, drops_clicks_and_keys_reach_their_slots_by_the_rules_of_each) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.page(1);
    const QString before1 = page->slotLabel(1), before2 = page->slotLabel(2);
    const ProfileImage work = rig.dlg->link().workImage(1);
    const QPoint l1Home = page->paletteButton(kL1Palette)->pos();
    BoxWatcher boxes;
    drag(page, kL1Palette, 1);
    drag(page, kFnPalette, 2);
    drag(page, kL1Palette, QPoint(700, 20)); // outside every slot
    click(page->slotButton(1));
    click(page->paletteButton(kL1Palette));
    QTest::qWait(100);
    EXPECT_EQ(boxes.lines,
              (QStringList{q(TextId::RefuseFixedKey), q(TextId::RefuseFn), q(TextId::RefuseFixedKey)}));
    EXPECT_EQ(page->slotLabel(1), before1);
    EXPECT_EQ(page->slotLabel(2), before2);
    EXPECT_EQ(rig.dlg->link().workImage(1), work);
    EXPECT_EQ(page->paletteButton(kL1Palette)->pos(), l1Home);
    // The slot stays selected for another choice; "NC" goes there.
    EXPECT_EQ(page->selectedSlot(), 1);
    click(page->paletteButton(kNcPalette));
    EXPECT_EQ(page->slotLabel(1), QStringLiteral("NC"));
    EXPECT_EQ(page->selectedSlot(), 0);
    EXPECT_EQ(recordAt(rig.dlg->link().workImage(1), 1, 0)[static_cast<std::size_t>(slotToIndex(1, 1))],
              labelToCode(1, 0, "NC"));
    // "Fn" is welcome on slot 17; a function clicked with no slot selected goes nowhere.
    drag(page, kFnPalette, 17);
    EXPECT_EQ(page->slotLabel(17), QStringLiteral("Fn"));
    const ProfileImage after = rig.dlg->link().workImage(1);
    click(page->paletteButton(kL1Palette));
    EXPECT_EQ(rig.dlg->link().workImage(1), after);

    // Slot 22 follows the stick selector: a drop there changes index 43, in both pages.
    auto record = page->record();
    const std::string atDpad = codeToLabel(1, 0, record[8]);
    click(page->control(1141));
    drag(page, kNcPalette, 22);
    EXPECT_EQ(record[43], labelToCode(1, 0, "NC"));
    EXPECT_EQ(record[8], labelToCode(1, 0, atDpad));
    EXPECT_EQ(recordAt(rig.dlg->link().sendImage(1), 1, 0)[43], labelToCode(1, 0, "NC"));
    click(page->control(1137));
    EXPECT_EQ(page->slotLabel(22).toStdString(), atDpad);

    // Opening the slot list drops the connect pass's " ". A keyboard-mode capture keeps taking keys, Tab
    // included, and a double click on Write is an input, not a Write.
    rig.dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.dlg.get()));
    ASSERT_EQ(page->slotList()->count(), 4);
    click(page->slotList());
    QTest::keyClick(page->slotList()->view(), Qt::Key_Escape);
    EXPECT_EQ(page->slotList()->count(), 3);
    EXPECT_EQ(page->slotList()->currentIndex(), 0);
    test::waitTransfer(page, [&] { test::choose(page->modeList(), 3); });
    const QString before = page->slotLabel(1);
    click(page->slotButton(1));
    ASSERT_TRUE(page->captureOn());
    key(Qt::Key_A);
    key(Qt::Key_MediaPlay); // no label: changes nothing
    EXPECT_EQ(page->capturedText(), QStringLiteral("A"));
    key(Qt::Key_Tab);
    EXPECT_EQ(page->capturedText(), QStringLiteral("Tab"));
    EXPECT_FALSE(page->captureKeysFree());
    boxes.lines.clear();
    rig.adapter.clearLog();
    QWidget* write = page->control(1007);
    QTest::mouseDClick(rig.dlg->windowHandle(), Qt::LeftButton, {},
                       write->mapTo(rig.dlg.get(), write->rect().center()));
    QTest::qWait(100);
    EXPECT_EQ(test::count(rig.adapter, cmd::kWrite), 0);
    EXPECT_TRUE(boxes.lines.isEmpty());
    EXPECT_EQ(page->capturedText(), QStringLiteral("MsL"));
    click(page->control(1088)); // Cancel
    EXPECT_FALSE(page->captureOn());
    EXPECT_EQ(page->slotLabel(1), before);
}

// A profile of another mode reads that mode's bank first; one of another model is never written.
TEST(Pages, a_profile_of_another_mode_or_model) {
    Rig rig(1);
    ProfileImage ps3 = rig.adapter.bank(1, 1);
    recordAt(ps3, 1, 2)[0] = 0x2A; // slot 3 of the adapter's PS3 bank
    ps3[400] = 0x5C;               // and a byte after the records
    rig.adapter.setBank(1, 1, ps3);
    const auto folder = std::filesystem::path(rig.documents.path().toStdString()) / "ZAV Software" /
                        "ZAV KITE" / "ProfilePS4";
    std::filesystem::create_directories(folder);
    std::array<std::uint8_t, 60> fromFile{0x11};
    ASSERT_TRUE(writeProfileFile(folder / "Ps3Profile.zav4", 1, fromFile, 1));
    ASSERT_TRUE(writeProfileFile(folder / "FromMoss.zav4", 2, std::array<std::uint8_t, 55>{}, 0));
    rig.start();
    AssignmentPage* page = rig.page(1);
    const ProfileImage ps4 = rig.adapter.bank(1, 0);
    const int index = page->profileList()->findText(QStringLiteral("Ps3Profile"));
    ASSERT_GE(index, 0);
    test::waitTransfer(page, [&] { test::choose(page->profileList(), index); });
    ASSERT_EQ(page->mode(), 1);
    EXPECT_EQ(recordAt(rig.dlg->link().workImage(1), 1, 0)[0], 0x11);
    EXPECT_EQ(recordAt(rig.dlg->link().workImage(1), 1, 2)[0], 0x2A);
    EXPECT_EQ(pressWrite(page), QStringList{q(TextId::WriteComplete)});
    const ProfileImage written = rig.adapter.bank(1, 1);
    EXPECT_EQ(recordAt(written, 1, 0)[0], 0x11);
    EXPECT_EQ(recordAt(written, 1, 2)[0], 0x2A);
    EXPECT_EQ(written[400], 0x5C);
    EXPECT_EQ(rig.adapter.bank(1, 0), ps4);

    test::waitTransfer(page, [&] { test::choose(page->modeList(), 0); }); // lists the folder again
    const int fromMoss = page->profileList()->findText(QStringLiteral("FromMoss"));
    ASSERT_GE(fromMoss, 0);
    test::choose(page->profileList(), fromMoss);
    EXPECT_EQ(page->library().loadedFileModel(), 2);
    EXPECT_EQ(pressWrite(page), QStringList{q(TextId::OverwriteError)});
    EXPECT_EQ(rig.adapter.bank(1, 0), ps4);
}

} // namespace
} // namespace zav
