#include "controls/SkinComboList.h"

#include "controls/Skin.h"

#include <QPaintEvent>
#include <QPainter>

namespace zav {

namespace {

constexpr double kItemPoints = 10.0;
constexpr int kTextIndent = 1;

} // namespace

SkinComboList::SkinComboList(QWidget* parent) : QListView(parent) {
    setUniformItemSizes(true);
    setStyleSheet(QStringLiteral("QListView { background: black; border: 1px solid rgb(255, 70, 70); }") +
                  scrollBarStyleSheet());
    setFont(languageFont(kItemPoints, language()));
}

void SkinComboList::setLanguage(int language) {
    language_ = language;
    setFont(languageFont(kItemPoints, this->language()));
    viewport()->update();
}

int SkinComboList::language() const {
    return language_ < 0 ? skinLanguage() : language_;
}

void SkinComboList::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), skin::kBlack);
    if (model() == nullptr) {
        return;
    }
    painter.setFont(languageFont(kItemPoints, language()));
    const int rows = model()->rowCount(rootIndex());
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
        if (isRowHidden(row)) {
            continue;
        }
        const QRect item = visualRect(index);
        if (!item.intersects(event->rect())) {
            continue;
        }
        const bool selected = selectionModel() != nullptr && selectionModel()->isSelected(index);
        painter.fillRect(item, selected ? skin::kRed : skin::kBlack);
        painter.setPen(selected ? skin::kWhite : skin::kRed);
        painter.drawText(item.adjusted(kTextIndent, 0, 0, 0),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         index.data(Qt::DisplayRole).toString());
    }
}

} // namespace zav
