#include "controls/LimitedLineEdit.h"

#include "controls/Skin.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <memory>

namespace zav {

LimitedLineEdit::LimitedLineEdit(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setAcceptDrops(false);
    setFont(skinFont(FontFace::Arial, 10.0, skinLanguage()));
    // A style sheet rather than a palette: the combo box's own style sheet reaches its children and
    // would put the default colours back.
    setStyleSheet(QStringLiteral("QLineEdit { background: black; color: rgb(255, 70, 70); border: none;"
                                 " selection-background-color: rgb(255, 70, 70); selection-color: white; }"));
}

int LimitedLineEdit::room() const {
    const auto kept = text().size() - selectedText().size();
    return int(std::max<qsizetype>(0, kTypedLimit - kept));
}

void LimitedLineEdit::insertLimited(const QString& inserted) {
    if (isReadOnly()) {
        return;
    }
    const QString fitting = inserted.left(room());
    if (!fitting.isEmpty() || hasSelectedText()) {
        insert(fitting);
    }
}

void LimitedLineEdit::pasteLimited(bool fromSelection) {
    insertLimited(
        QGuiApplication::clipboard()->text(fromSelection ? QClipboard::Selection : QClipboard::Clipboard));
}

void LimitedLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        pasteLimited(false);
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool control = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    if (!control && !typed.isEmpty() && typed.front().isPrint() && typed.size() > room()) {
        insertLimited(typed);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void LimitedLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (commit.size() <= room()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent clipped(event->preeditString(), event->attributes());
    clipped.setCommitString(commit.left(room()), event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&clipped);
    event->accept();
}

void LimitedLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button pastes the selection on X11; it obeys the limit as well.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        if (!isReadOnly()) {
            deselect();
            setCursorPosition(cursorPositionAt(event->position().toPoint()));
            pasteLimited(true);
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void LimitedLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, [this] { pasteLimited(false); });
    }
    menu->exec(event->globalPos());
    event->accept();
}

} // namespace zav
