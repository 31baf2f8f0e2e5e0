#include "controls/SkinButton.h"
#include "controls/SkinMessageBox.h"
#include "device/BackupStore.h"
#include "pages/AssignmentPage.h"
#include "pages/KeyTables.h"
#include "pages/MoveButton.h"
#include "pages/PageLayout.h"
#include "tests/e2e/Rig.h"

#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

namespace zav {
namespace {

using test::drag;
using test::q;
using test::Rig;
using test::slotCentre;
using test::waitTransfer;

constexpr int kNcPalette = 1049;
constexpr int kWaitMs = 5000;

// Plays the person in front of the window: picks `entry` in the menu that opens, answers a Yes/No box
// with `yes`, and confirms every other box, remembering what each menu and box said.
struct Person {
    explicit Person(bool yes) : yes(yes) {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()); menu != nullptr) {
                for (QAction* action : menu->actions()) {
                    menuEntries.push_back(action->text());
                }
                QTest::mouseClick(menu, Qt::LeftButton, {},
                                  menu->actionGeometry(menu->actions().front()).center());
                return;
            }
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<SkinMessageBox*>(w);
                if (box == nullptr || !box->isVisible()) {
                    continue;
                }
                lines.push_back(box->line(0));
                SkinButton* answer = box->kind() == MessageBoxKind::YesNo && !this->yes ? box->cancelButton()
                                                                                        : box->okButton();
                QTest::mouseClick(answer, Qt::LeftButton, {}, answer->rect().center());
            }
        });
        timer.start();
    }
    bool yes;
    QTimer timer;
    QStringList menuEntries;
    QStringList lines;
};

// A right click as the window system delivers it, to the top-level window at the button's centre, so
// that Qt turns the press into the context-menu request it makes on screen.
void rightClickWrite(AssignmentPage* page) {
    QWidget* write = page->control(1007);
    QWindow* window = write->window()->windowHandle();
    const QPoint at = write->mapTo(write->window(), write->rect().center());
    QTest::mousePress(window, Qt::RightButton, {}, at);
    QApplication::processEvents();
    QTest::mouseRelease(window, Qt::RightButton, {}, at);
    QApplication::processEvents();
}

TEST(WriteMenu, right_click_on_write_restores_what_the_last_write_overwrote_after_asking) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    const ProfileImage before = rig.adapter.bank(1, 0);
    const QString label = page->slotLabel(1);
    ASSERT_NE(label, QStringLiteral("NC"));

    // Nothing kept yet: the menu says so and writes nothing.
    {
        Person person(true);
        rightClickWrite(page);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !person.lines.isEmpty(); }, kWaitMs));
        EXPECT_EQ(person.menuEntries, QStringList{q(TextId::RestoreBeforeLastWrite)});
        EXPECT_EQ(person.lines, QStringList{q(TextId::NothingKept)});
    }

    drag(page, kNcPalette, 1);
    {
        Person person(true);
        QSignalSpy done(page, &AssignmentPage::transferDone);
        QTest::mouseClick(page->control(1007), Qt::LeftButton);
        ASSERT_TRUE(done.count() > 0 || done.wait(kWaitMs));
        EXPECT_EQ(person.lines, QStringList{q(TextId::WriteComplete)});
    }
    const ProfileImage written = rig.adapter.bank(1, 0);
    ASSERT_NE(written, before);

    // No keeps everything as it is.
    {
        Person person(false);
        QSignalSpy done(page, &AssignmentPage::transferDone);
        rig.adapter.clearLog();
        rightClickWrite(page);
        ASSERT_TRUE(done.count() > 0 || done.wait(kWaitMs));
        EXPECT_EQ(person.lines, QStringList{q(TextId::RestoreQuestion)});
        EXPECT_EQ(rig.adapter.bank(1, 0), written);
        const auto codes = rig.adapter.frameCodes();
        EXPECT_EQ(std::count(codes.begin(), codes.end(), cmd::kWrite), 0);
    }
    // Yes writes the kept bank back, checks it and shows it.
    {
        Person person(true);
        QSignalSpy done(page, &AssignmentPage::transferDone);
        rightClickWrite(page);
        ASSERT_TRUE(done.count() > 0 || done.wait(kWaitMs));
        ASSERT_TRUE(QTest::qWaitFor([&] { return person.lines.size() == 2; }, kWaitMs));
        EXPECT_EQ(person.lines, (QStringList{q(TextId::RestoreQuestion), q(TextId::WriteComplete)}));
    }
    EXPECT_EQ(rig.adapter.bank(1, 0), before);
    EXPECT_EQ(page->slotLabel(1), label);
    // The restore kept what it overwrote too, so it can itself be undone.
    EXPECT_EQ(BackupStore(defaultBackupFolder()).list(1).size(), 2u);
}

TEST(WriteMenu, a_write_whose_first_read_fails_writes_nothing_and_says_so) {
    Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.dlg->page(1);
    const ProfileImage before = rig.adapter.bank(1, 0);
    drag(page, kNcPalette, 1);
    rig.adapter.dropReadChunkReply(5);
    rig.adapter.clearLog();
    Person person(true);
    QSignalSpy done(page, &AssignmentPage::transferDone);
    QTest::mouseClick(page->control(1007), Qt::LeftButton);
    ASSERT_TRUE(done.count() > 0 || done.wait(kWaitMs));
    EXPECT_EQ(person.lines, QStringList{q(TextId::OverwriteError)});
    const auto codes = rig.adapter.frameCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), cmd::kWrite), 0);
    EXPECT_EQ(rig.adapter.bank(1, 0), before);
    EXPECT_TRUE(BackupStore(defaultBackupFolder()).list(1).empty());
}

} // namespace
} // namespace zav
