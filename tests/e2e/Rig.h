#pragma once

#include "app/MainWindow.h"
#include "controls/QtText.h"
#include "controls/SkinComboBox.h"
#include "controls/ToggleButton.h"
#include "device/Frames.h"
#include "device/SimulatedAdapter.h"
#include "pages/AssignmentPage.h"
#include "pages/MoveButton.h"
#include "pages/PageLayout.h"
#include "profiles/AdapterBanks.h"
#include "tests/controls/QtTestApp.h"
#include "tests/e2e/BoxWatcher.h"
#include "text/Texts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace zav::test {

// A text of the catalogue as the widgets show it.
inline const auto q = [](TextId id, int language = 0) { return qstr(text(id, language)); };

// Picks item `index` of a list as a person does: a click on its arrow, then one on the item.
inline void choose(SkinComboBox* list, int index) {
    windowClick(*list, QPoint(list->width() - 8, list->height() / 2));
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(view->isVisible() && index >= 0 && index < view->model()->rowCount()) << "no item " << index;
    windowClick(*view->viewport(), view->visualRect(view->model()->index(index, 0)).center());
}

// Drags a palette button with real mouse events and lets it go over a point of the page, or a slot.
inline void drag(AssignmentPage* page, int paletteId, QPoint onPage) {
    MoveButton* button = page->paletteButton(paletteId);
    ASSERT_NE(button, nullptr);
    QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
    const QPoint global = page->mapToGlobal(onPage);
    QMouseEvent move(QEvent::MouseMove, QPointF(button->mapFromGlobal(global)), QPointF(global), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
    QTest::mouseRelease(button, Qt::LeftButton, {}, button->mapFromGlobal(global));
}
inline void drag(AssignmentPage* page, int paletteId, int slot) {
    const Box& b = slotPlace(page->model(), slot)->box;
    drag(page, paletteId, QPoint(b.x + b.w / 2, b.y + b.h / 2));
}

inline void waitTransfer(AssignmentPage* page, const std::function<void()>& action) {
    QSignalSpy done(page, &AssignmentPage::transferDone);
    action();
    ASSERT_TRUE(done.count() > 0 || done.wait(5000));
}

// Clicks Write and returns the first lines of the messages it ends with.
inline QStringList pressWrite(AssignmentPage* page) {
    BoxWatcher boxes;
    QSignalSpy done(page, &AssignmentPage::transferDone);
    QTest::mouseClick(page->control(1007), Qt::LeftButton);
    EXPECT_TRUE(done.count() > 0 || done.wait(10000));
    (void)QTest::qWaitFor([&] { return !boxes.lines.isEmpty(); }, 2000);
    return boxes.lines;
}

// How many frames of the adapter's log carry `code`, and whether all do.
inline long count(const SimulatedAdapter& adapter, std::uint8_t code) {
    const auto codes = adapter.frameCodes();
    return std::count(codes.begin(), codes.end(), code);
}
inline bool only(const SimulatedAdapter& adapter, std::uint8_t code) {
    return count(adapter, code) == static_cast<long>(adapter.frameCodes().size());
}

// The whole main window over a simulated adapter, plugged as `model` (0: nothing attached).
struct Rig {
    explicit Rig(int model) {
        qputenv("ZAVORA_DOCUMENTS_DIR", documents.path().toLocal8Bit());
        qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
        adapter.setBanks(freshAdapterBanks());
        if (model != 0) {
            adapter.plug(model);
        }
        dlg = std::make_unique<MainWindow>(adapter);
        dlg->show();
    }
    void start() {
        QSignalSpy spy(dlg.get(), &MainWindow::connectPassFinished);
        dlg->start(1033);
        ASSERT_TRUE(spy.count() > 0 || spy.wait(5000));
    }
    void deviceChange() {
        QSignalSpy handled(dlg.get(), &MainWindow::deviceChangeHandled);
        QSignalSpy passes(dlg.get(), &MainWindow::connectPassFinished);
        dlg->onDeviceChange();
        ASSERT_TRUE(handled.count() > 0 || handled.wait(5000));
        (void)(!dlg->passRunning() || passes.count() > 0 || passes.wait(5000));
    }
    void showTab(int model) { windowClick(*dlg->tab(model), dlg->tab(model)->rect().center()); }
    AssignmentPage* page(int model) { return dlg->page(model); }
    QTemporaryDir documents, state;
    SimulatedAdapter adapter;
    std::unique_ptr<MainWindow> dlg;
};

} // namespace zav::test
