#pragma once

#include <QAccessible>

class QWidget;

namespace zav {

// What assistive technology is told of a skinned control that Qt knows only as a plain widget: its
// role, its name (the widget's accessible name, which the control keeps up to date) and, for the
// two-state buttons, whether they are on. A slider also tells its value.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

// Tells assistive technology that a control's value changed.
void announceValue(QWidget* widget, int value);

} // namespace zav
