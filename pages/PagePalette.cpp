#include "pages/PagePalette.h"

#include "controls/QtText.h"
#include "pages/DropRules.h"
#include "pages/KeyTables.h"
#include "pages/MoveButton.h"
#include "pages/PageLayout.h"

#include <QWidget>

namespace zav {

PagePalette::PagePalette(QWidget& page, const PageLayout& layout)
    : QObject(&page), page_(page), layout_(layout) {
    for (const PaletteKey& key : layout_.palette) {
        auto* button = new MoveButton(key.id, qstr(key.playstation), &page_);
        button->setGeometry(key.box.x, key.box.y, key.box.w, key.box.h);
        connect(button, &MoveButton::dropped, this, [this](MoveButton* dropped, QPoint global) {
            emit this->dropped(dropped, dropTarget(global));
        });
        connect(button, &MoveButton::picked, this, &PagePalette::picked);
        buttons_[key.id] = button;
    }
}

MoveButton* PagePalette::button(int id) const {
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

void PagePalette::setFaces(int mode) {
    for (const PaletteKey& key : layout_.palette) {
        buttons_.at(key.id)->setLabel(qstr(mode == kModePcPad ? key.pcPad : key.playstation));
    }
}

void PagePalette::showFor(int mode) {
    for (const PaletteKey& key : layout_.palette) {
        bool shown = mode != kModeKeyboard;
        if (key.neverShown) {
            shown = false;
        }
        if (key.touchPad && mode != kModePs4) {
            shown = false;
        }
        buttons_.at(key.id)->setVisible(shown);
    }
}

int PagePalette::dropTarget(QPoint global) const {
    const QPoint at = page_.mapFromGlobal(global);
    for (const SlotPlace& where : layout_.slotPlaces) {
        if (isDropTarget(layout_.model, where.slot) && where.box.contains(at.x(), at.y())) {
            return where.slot;
        }
    }
    return 0;
}

} // namespace zav
