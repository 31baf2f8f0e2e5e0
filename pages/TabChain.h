#pragma once

#include <QList>

#include <map>
#include <vector>

class QWidget;

namespace zav {

class MoveButton;

// The controls of `page` that take the focus, in reading order: column by column (keypad, profiles and
// palette, mouse settings), top to bottom and left to right, a column's key slots by their number.
// `slotButtons` come by slot number; `skip` is left out.
QList<QWidget*> readingOrder(const QWidget& page, const std::vector<MoveButton*>& slotButtons,
                             const std::map<int, MoveButton*>& palette, const QWidget* skip);

} // namespace zav
