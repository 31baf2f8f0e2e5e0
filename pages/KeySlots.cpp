#include "pages/KeySlots.h"

#include "controls/QtText.h"
#include "controls/Skin.h"
#include "pages/MoveButton.h"
#include "pages/PageLayout.h"
#include "text/Texts.h"

#include <QLabel>

namespace zav {

KeySlots::KeySlots(QWidget& page, const PageLayout& layout) : QObject(&page), page_(page), layout_(layout) {
    for (const SlotPlace& where : layout_.slotPlaces) {
        auto* marker = new QLabel(QString::number(where.slot), &page_);
        marker->setObjectName(QString::number(where.staticId));
        marker->setGeometry(where.box.x, where.box.y, where.box.w, where.box.h);
        marker->setAlignment(Qt::AlignCenter);
        marker->setPalette(redTextPalette(marker->palette()));
        statics_[static_cast<std::size_t>(where.slot)] = marker;
    }
}

void KeySlots::setLabel(int slot, const QString& label, int language) {
    const SlotPlace* where = slotPlace(layout_.model, slot);
    if (where == nullptr) {
        return;
    }
    auto* button = new MoveButton(kSlotButtonControlId, label, &page_);
    button->makeSlotButton(slot);
    button->setAccessibleName(accessibleName(slot, button->shownLabel(), language));
    button->setGeometry(where->box.x, where->box.y, where->box.w, where->box.h);
    connect(button, &MoveButton::slotClicked, this, &KeySlots::clicked);
    const auto index = static_cast<std::size_t>(slot);
    if (MoveButton* old = buttons_[index]) {
        button->setVisible(old->isVisible());
        QWidget::setTabOrder(old, button);
        if (old->selected()) {
            button->setSelected(true);
            button->setCaptureLook(true);
        }
        if (page_.window()->focusWidget() == old) {
            button->show();
            button->setFocus(Qt::OtherFocusReason);
        }
        // Out of sight and out of the Tab order at once: it may be the sender still being served.
        old->hide();
        old->setFocusPolicy(Qt::NoFocus);
        old->deleteLater();
    }
    buttons_[index] = button;
    labels_[index] = label.toStdString();
    button->show();
}

MoveButton* KeySlots::button(int slot) const {
    return slot >= 1 && slot < kSlotArraySize ? buttons_[static_cast<std::size_t>(slot)].data() : nullptr;
}

QString KeySlots::label(int slot) const {
    if (slot < 1 || slot >= kSlotArraySize || !labels_[static_cast<std::size_t>(slot)]) {
        return {};
    }
    return QString::fromStdString(*labels_[static_cast<std::size_t>(slot)]);
}

std::vector<MoveButton*> KeySlots::buttons() const {
    std::vector<MoveButton*> all;
    for (const auto& button : buttons_) {
        if (button != nullptr) {
            all.push_back(button.data());
        }
    }
    return all;
}

void KeySlots::show(int slot, bool shown) {
    statics_[static_cast<std::size_t>(slot)]->setVisible(shown);
    if (MoveButton* shownButton = button(slot)) {
        shownButton->setVisible(shown);
    }
}

void KeySlots::showFor(int mode, MouseKind mouse) {
    for (const SlotPlace& where : layout_.slotPlaces) {
        const bool ordinaryHides = isMouseOnlySlot(layout_.model, where.slot) && mouse == MouseKind::Ordinary;
        show(where.slot, slotShownInMode(layout_.model, mode, where.slot) && !ordinaryHides);
    }
}

void KeySlots::showMouseOnly(int mode, MouseKind mouse) {
    if (mouse == MouseKind::None) {
        return;
    }
    for (int slot : layout_.rules.mouseOnly) {
        if (slot != 0) {
            show(slot, mouse == MouseKind::Own && slotShownInMode(layout_.model, mode, slot));
        }
    }
}

void KeySlots::select(int slot) {
    for (const auto& button : buttons_) {
        if (button != nullptr && button->selected() != (button->slot() == slot)) {
            button->setSelected(button->slot() == slot);
            button->setCaptureLook(button->slot() == slot);
        }
    }
}

void KeySlots::setLanguage(int language) {
    for (const auto& button : buttons_) {
        if (button != nullptr) {
            button->setAccessibleName(accessibleName(button->slot(), button->shownLabel(), language));
        }
    }
}

QString KeySlots::accessibleName(int slot, const QString& shownLabel, int language) {
    QString name = qstr(text(TextId::KeySlotName, language));
    if (shownLabel.isEmpty()) {
        // No function: the number alone, without the separator.
        name = name.left(name.indexOf(QLatin1String("%2")));
        while (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char(':'))) {
            name.chop(1);
        }
        return name.arg(slot);
    }
    return name.arg(slot).arg(shownLabel);
}

} // namespace zav
