#pragma once

#include "device/MouseClassifier.h"
#include "pages/PageRecord.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <vector>

class QLabel;
class QWidget;

namespace zav {

class MoveButton;
struct PageLayout;

// The key slots of the keypad: a static that marks where each key is, and over it a button that
// shows the slot's function. A button is made anew whenever its slot shows another function.
class KeySlots : public QObject {
    Q_OBJECT
public:
    // Makes the statics on `page` where its layout puts them.
    KeySlots(QWidget& page, const PageLayout& layout);

    // The slot shows `label` on a new button, which takes the old one's place in the Tab order, its
    // visibility, its selection and its focus. `language` names it for assistive technology.
    void setLabel(int slot, const QString& label, int language);
    MoveButton* button(int slot) const;
    QString label(int slot) const;
    const SlotLabels& labels() const { return labels_; }
    // The buttons of the slots, by slot number.
    std::vector<MoveButton*> buttons() const;

    // Shows the slots `mode` uses, without the mouse-only ones when an ordinary mouse is attached.
    void showFor(int mode, MouseKind mouse);
    // The mouse-only slots after the attached mouse changed to `mouse`.
    void showMouseOnly(int mode, MouseKind mouse);
    // Selects `slot`, 0 for none, and lets any other go.
    void select(int slot);
    void setLanguage(int language);

    // What assistive technology calls a key slot showing `shownLabel`: "Key 5: L1", or "Key 5" without one.
    static QString accessibleName(int slot, const QString& shownLabel, int language);

signals:
    // A slot button was clicked, or pressed with Space or Enter (`byKey`).
    void clicked(zav::MoveButton* button, bool byKey);

private:
    void show(int slot, bool shown);

    QWidget& page_;
    const PageLayout& layout_;
    std::array<QPointer<MoveButton>, kSlotArraySize> buttons_{};
    SlotLabels labels_{};
    std::array<QLabel*, kSlotArraySize> statics_{};
};

} // namespace zav
