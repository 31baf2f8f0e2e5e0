#include "controls/SkinAccessible.h"

#include "controls/CellSlider.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace zav {

namespace {

constexpr char kRoleProperty[] = "zavAccessibleRole";

class SkinControl : public QAccessibleWidget {
public:
    SkinControl(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        // The two-state buttons carry an "on" property.
        if (const QVariant on = widget()->property("on"); on.isValid()) {
            s.checkable = true;
            s.checked = on.toBool();
        }
        return s;
    }
};

class SkinSlider : public SkinControl, public QAccessibleValueInterface {
public:
    explicit SkinSlider(CellSlider* slider) : SkinControl(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return SkinControl::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return QString::number(slider()->position());
        }
        return SkinControl::text(t);
    }
    QVariant currentValue() const override { return slider()->position(); }
    void setCurrentValue(const QVariant& value) override { slider()->setPosition(value.toInt()); }
    QVariant maximumValue() const override { return CellSlider::kCellCount - 1; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return slider()->fineMode() ? 1 : CellSlider::kCellsPerStep; }

private:
    CellSlider* slider() const { return static_cast<CellSlider*>(widget()); }
};

QAccessibleInterface* skinFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) {
        return nullptr;
    }
    const QVariant role = widget->property(kRoleProperty);
    if (!role.isValid()) {
        return nullptr;
    }
    if (auto* slider = qobject_cast<CellSlider*>(widget)) {
        return new SkinSlider(slider);
    }
    return new SkinControl(widget, static_cast<QAccessible::Role>(role.toInt()));
}

} // namespace

void setAccessibleRole(QWidget* widget, QAccessible::Role role) {
    static const bool installed = [] {
        QAccessible::installFactory(skinFactory);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(kRoleProperty, static_cast<int>(role));
}

void announceValue(QWidget* widget, int value) {
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(widget, value);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace zav
