#pragma once

#include "app/CZavoraDlg.h"
#include "app/Texts.h"
#include "controls/QtText.h"
#include "device/SimulatedAdapter.h"
#include "profiles/AdapterBanks.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

namespace zav::test {

// A text of the catalogue as the widgets show it.
inline QString q(TextId id, int language = 0) {
    return qstr(text(id, language));
}

// The whole main window over a simulated adapter, plugged as `model` (0: nothing attached).
struct Rig {
    explicit Rig(int model) {
        // Profiles go to a Documents folder of this rig's own.
        qputenv("ZAVORA_DOCUMENTS_DIR", documents.path().toLocal8Bit());
        adapter.setBanks(freshAdapterBanks());
        if (model != 0) {
            adapter.plug(model);
        }
        dlg = std::make_unique<CZavoraDlg>(adapter);
        dlg->show();
    }
    ~Rig() { dlg.reset(); }
    // Starts the window as the program does and waits for its first connect pass.
    void start(int langId = 1033) {
        QSignalSpy spy(dlg.get(), &CZavoraDlg::connectPassFinished);
        dlg->start(langId);
        if (spy.count() == 0) {
            spy.wait(5000);
        }
    }
    void pass() {
        QSignalSpy spy(dlg.get(), &CZavoraDlg::connectPassFinished);
        dlg->startConnectPass();
        if (spy.count() == 0) {
            spy.wait(5000);
        }
    }
    // A device change and, when it starts one, the connect pass after it.
    void deviceChange() {
        QSignalSpy handled(dlg.get(), &CZavoraDlg::deviceChangeHandled);
        QSignalSpy passes(dlg.get(), &CZavoraDlg::connectPassFinished);
        dlg->onDeviceChange();
        if (handled.count() == 0) {
            handled.wait(5000);
        }
        if (dlg->passRunning() && passes.count() == 0) {
            passes.wait(5000);
        }
    }
    QTemporaryDir documents;
    SimulatedAdapter adapter;
    std::unique_ptr<CZavoraDlg> dlg;
};

} // namespace zav::test
