#include "pages/ModeList.h"

#include "controls/QtText.h"
#include "pages/KeyTables.h"
#include "text/Texts.h"

#include <QLineEdit>

#include <algorithm>

namespace zav {

ModeList::ModeList(int model, QWidget* parent) : SkinComboBox(parent), model_(model) {}

void ModeList::fill(std::uint8_t capability, int language, int mode) {
    const QSignalBlocker block(this);
    clear();
    for (std::string_view item : modeListTexts(model_, capability, language)) {
        addItem(qstr(item));
    }
    setCurrentIndex(std::clamp(itemForMode(mode), 0, count() - 1));
}

void ModeList::showMode(int mode) {
    const QSignalBlocker block(this);
    setCurrentIndex(itemForMode(mode));
}

int ModeList::modeForItem(int item, std::uint8_t capability) const {
    if (model_ == models::kMoss && item == 2) {
        return capability >= 5 ? kModeKeyboard : kModePcPad;
    }
    return item;
}

int ModeList::itemForMode(int mode) const {
    if (model_ == models::kMoss && mode >= 2) {
        return 2;
    }
    return mode;
}

} // namespace zav
