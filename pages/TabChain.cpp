#include "pages/TabChain.h"

#include "pages/MoveButton.h"
#include "pages/PageLayout.h"

#include <QWidget>

#include <algorithm>
#include <array>
#include <climits>
#include <tuple>

namespace zav {

QList<QWidget*> readingOrder(const QWidget& page, const std::vector<MoveButton*>& slotButtons,
                             const std::map<int, MoveButton*>& palette, const QWidget* skip) {
    struct Stop {
        int column;
        int top;
        int order;
        QWidget* widget;
    };
    // The frames of the profile and palette column and of the mouse settings split the page.
    const auto columnOf = [edges = pageArt().columnEdges](const QRect& r) {
        const int centre = r.center().x();
        return centre < edges[0] ? 0 : centre < edges[1] ? 1 : 2;
    };
    std::vector<Stop> stops;
    // A column's key slots all stand at the height of its topmost one, in the order of their numbers.
    std::array<int, 3> slotsTop{INT_MAX, INT_MAX, INT_MAX};
    for (const MoveButton* button : slotButtons) {
        const auto column = static_cast<std::size_t>(columnOf(button->geometry()));
        slotsTop[column] = std::min(slotsTop[column], button->geometry().y());
    }
    for (MoveButton* button : slotButtons) {
        const int column = columnOf(button->geometry());
        stops.push_back({column, slotsTop[static_cast<std::size_t>(column)], button->slot(), button});
    }
    for (QWidget* child : page.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if ((child->focusPolicy() & Qt::TabFocus) != 0 && qobject_cast<MoveButton*>(child) == nullptr &&
            child != skip) {
            stops.push_back({columnOf(child->geometry()), child->y(), child->x(), child});
        }
    }
    for (const auto& [id, button] : palette) {
        stops.push_back({columnOf(button->geometry()), button->y(), button->x(), button});
    }
    std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) {
        return std::tie(a.column, a.top, a.order) < std::tie(b.column, b.top, b.order);
    });
    QList<QWidget*> chain;
    for (const Stop& stop : stops) {
        chain.append(stop.widget);
    }
    return chain;
}

} // namespace zav
