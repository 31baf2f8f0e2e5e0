#include "controls/SkinButton.h"
#include "device/BackupStore.h"
#include "tests/e2e/Rig.h"

#include <QMenu>
#include <QWindow>

namespace zav {
namespace {

using test::q;

// A right click on Write as the window system delivers it (Qt makes the context-menu request); picks the
// menu's entry, answers Yes/No with `yes`, and returns the entries and boxes' first lines, `expected` of
// them.
QStringList restoreByMenu(AssignmentPage* page, bool yes, int expected) {
    QStringList said;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()); menu != nullptr) {
            for (QAction* action : menu->actions()) {
                said << action->text();
            }
            QTest::mouseClick(menu, Qt::LeftButton, {},
                              menu->actionGeometry(menu->actions().front()).center());
        } else if (auto* box = qobject_cast<SkinMessageBox*>(QApplication::activeModalWidget());
                   box != nullptr) {
            said << box->line(0);
            SkinButton* answer =
                box->kind() == MessageBoxKind::YesNo && !yes ? box->cancelButton() : box->okButton();
            QTest::mouseClick(answer, Qt::LeftButton, {}, answer->rect().center());
        }
    });
    timer.start(20);
    QWidget* write = page->control(1007);
    const QPoint at = write->mapTo(write->window(), write->rect().center());
    QTest::mousePress(write->window()->windowHandle(), Qt::RightButton, {}, at);
    QApplication::processEvents();
    QTest::mouseRelease(write->window()->windowHandle(), Qt::RightButton, {}, at);
    EXPECT_TRUE(QTest::qWaitFor([&] { return said.size() >= expected && !page->busy(); }, 5000));
    return said;
}

TEST(WriteMenu, right_click_on_write_restores_what_the_last_write_overwrote_after_asking) {
    test::Rig rig(1);
    rig.start();
    AssignmentPage* page = rig.page(1);
    const ProfileImage before = rig.adapter.bank(1, 0);
    const QString label = page->slotLabel(1);
    const QString entry = q(TextId::RestoreBeforeLastWrite);
    EXPECT_EQ(restoreByMenu(page, true, 2), (QStringList{entry, q(TextId::NothingKept)}));

    test::drag(page, 1049, 1);
    ASSERT_EQ(test::pressWrite(page), QStringList{q(TextId::WriteComplete)});
    const ProfileImage written = rig.adapter.bank(1, 0);
    ASSERT_NE(written, before);
    // No keeps everything as it is; Yes writes the kept bank back, checks it and shows it.
    rig.adapter.clearLog();
    EXPECT_EQ(restoreByMenu(page, false, 2), (QStringList{entry, q(TextId::RestoreQuestion)}));
    EXPECT_EQ(test::count(rig.adapter, cmd::kWrite), 0);
    EXPECT_EQ(rig.adapter.bank(1, 0), written);
    EXPECT_EQ(restoreByMenu(page, true, 3),
              (QStringList{entry, q(TextId::RestoreQuestion), q(TextId::WriteComplete)}));
    EXPECT_EQ(rig.adapter.bank(1, 0), before);
    EXPECT_EQ(page->slotLabel(1), label);
    // The restore kept what it overwrote too, so it can itself be undone.
    EXPECT_EQ(BackupStore(defaultBackupFolder()).list(1).size(), 2u);
}

} // namespace
} // namespace zav
