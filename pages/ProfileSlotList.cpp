#include "pages/ProfileSlotList.h"

namespace zav {

namespace {
const QString kBlank = QStringLiteral(" ");
}

void ProfileSlotList::showPopup() {
    if (const int blank = findText(kBlank); blank >= 0) {
        const QSignalBlocker block(this);
        setCurrentIndex(0);
        removeItem(blank);
    }
    SkinComboBox::showPopup();
}

void ProfileSlotList::showBlank() {
    const QSignalBlocker block(this);
    if (findText(kBlank) < 0) {
        insertItem(3, kBlank);
    }
    setCurrentIndex(findText(kBlank));
}

} // namespace zav
