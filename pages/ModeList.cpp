#include "pages/ModeList.h"

#include "controls/QtText.h"
#include "pages/KeyTables.h"
#include "profiles/ModelDescription.h"
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
    return zav::modeForItem(*modelDescription(model_), item, capability);
}

int ModeList::itemForMode(int mode) const {
    return zav::itemForMode(*modelDescription(model_), mode);
}

} // namespace zav
