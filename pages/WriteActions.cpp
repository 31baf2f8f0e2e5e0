#include "pages/WriteActions.h"

#include "controls/QtText.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "device/BackupStore.h"
#include "device/BankSetFile.h"
#include "pages/AssignmentPage.h"
#include "pages/BusyCover.h"
#include "pages/PageHost.h"
#include "profiles/AdapterTransfer.h"
#include "profiles/ProfileLibrary.h"
#include "profiles/ProfileRecord.h"
#include "text/Texts.h"

#include <QMenu>

namespace zav {

WriteActions::WriteActions(AssignmentPage& page, PageHost& host, BusyCover& cover, SkinButton& button)
    : QObject(&page), page_(page), host_(host), cover_(cover) {
    connect(&button, &QPushButton::clicked, this, &WriteActions::write);
    button.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&button, &QWidget::customContextMenuRequested, this,
            [this, &button](QPoint at) { showMenu(button.mapToGlobal(at)); });
}

void WriteActions::refuse(TextId why) {
    page_.tell(why);
    emit finished();
}

void WriteActions::write() {
    const int model = page_.model();
    if (!host_.connected()) {
        refuse(TextId::ZavNotConnected);
        return;
    }
    // A profile loaded from another model's file is never written into this model's adapter.
    if (host_.link().model() != model ||
        (page_.library().loadedFileModel() != model && !page_.profileList()->currentText().isEmpty())) {
        refuse(TextId::OverwriteError);
        return;
    }
    page_.collect();
    // The job writes this copy: what the window does to the pages meanwhile never reaches it.
    const ProfileImage image = host_.link().sendImage(model);
    const auto checked = static_cast<std::size_t>(recordBytesInBank(model));
    runCovered(
        host_.worker(), cover_,
        [&link = host_.link(), &store = host_.backups(), model, mode = page_.mode(), image, checked] {
            // The status frame goes first, as it always has; the mouse is left to the poll.
            link.SendCommand(cmd::kStatus, 0);
            // What the adapter holds is kept first; when it cannot be read, nothing is written.
            return writeKeepingBackup(link, store, model, mode, image, checked);
        },
        [this](WriteOutcome outcome) {
            switch (outcome) {
            case WriteOutcome::Complete:
                page_.tell(TextId::WriteComplete);
                break;
            case WriteOutcome::ReadBackFailed:
                page_.tell(TextId::WriteUnconfirmed);
                break;
            default:
                page_.tell(TextId::OverwriteError);
                break;
            }
            emit finished();
        });
}

void WriteActions::showMenu(QPoint global) {
    if (page_.busy()) {
        return;
    }
    QMenu menu(&page_);
    QAction* restore = menu.addAction(qstr(text(TextId::RestoreBeforeLastWrite, host_.language())));
    if (menu.exec(global) == restore) {
        restoreLastWrite();
    }
}

void WriteActions::restoreLastWrite() {
    const int model = page_.model();
    if (!host_.connected()) {
        refuse(TextId::ZavNotConnected);
        return;
    }
    if (host_.link().model() != model) {
        refuse(TextId::OverwriteError);
        return;
    }
    const std::optional<std::filesystem::path> latest = host_.backups().latest(model);
    if (!latest) {
        refuse(TextId::NothingKept);
        return;
    }
    if (!page_.ask(TextId::RestoreQuestion)) {
        emit finished();
        return;
    }
    struct Restored {
        std::vector<BankWritten> written;
        BankSet set;
    };
    runCovered(
        host_.worker(), cover_,
        [&link = host_.link(), &store = host_.backups(), model, file = *latest] {
            Restored result;
            const BackupStore::Reading reading(store, file);
            if (loadBankSet(file, result.set) != BankSetError::None || result.set.model != model) {
                return result;
            }
            link.SendCommand(cmd::kStatus, 0);
            result.written = restoreBanks(link, store, result.set);
            return result;
        },
        [this, model](const Restored& result) {
            WriteOutcome worst = result.written.empty() ? WriteOutcome::Failed : WriteOutcome::Complete;
            for (std::size_t i = 0; i < result.written.size(); ++i) {
                const BankWritten& w = result.written[i];
                if (w.outcome != WriteOutcome::Complete && worst == WriteOutcome::Complete) {
                    worst = w.outcome;
                }
                // The page shows what the adapter now holds in its mode.
                if (w.mode == page_.mode() &&
                    (w.outcome == WriteOutcome::Complete || w.outcome == WriteOutcome::ReadBackFailed)) {
                    ProfileImage bank = result.set.banks[i];
                    exchangeStoredCodes(model, page_.mode(), bank);
                    host_.link().workImage(model) = bank;
                    host_.link().sendImage(model) = bank;
                    page_.rebuild();
                }
            }
            page_.tell(worst == WriteOutcome::Complete         ? TextId::WriteComplete
                       : worst == WriteOutcome::ReadBackFailed ? TextId::WriteUnconfirmed
                                                               : TextId::OverwriteError);
            emit finished();
        });
}

} // namespace zav
