#include "controls/SkinComboBox.h"

#include "controls/LimitedLineEdit.h"
#include "controls/Skin.h"
#include "controls/SkinComboList.h"

#include <QCompleter>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace zav {

namespace {

constexpr double kTextPoints = 10.0;
constexpr double kArrowPoints = 7.0;
constexpr int kTextIndent = 5;
constexpr int kArrowIndent = 4;
// The edit part stands at (2, 2), 188 x 16, and leaves the arrow uncovered in narrow boxes.
constexpr QRect kEditPlace{2, 2, 188, 16};
constexpr int kArrowArea = 17;
const QString kDownArrow = QStringLiteral("\u25BC");

} // namespace

SkinComboBox::SkinComboBox(QWidget* parent) : QComboBox(parent) {
    setFixedHeight(kFieldHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMaxVisibleItems(30);
    // The list drops below the box, as a list box, in every widget style.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    // A typed name is only text: Return adds no item and nothing is completed.
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (closingOnChoice_) {
            closingOnChoice_ = false;
            emit chosen(index);
        }
    });
}

SkinComboList* SkinComboBox::list() {
    // Made when first wanted: a page has many boxes, and most are never opened.
    if (list_ == nullptr) {
        list_ = new SkinComboList(this);
        list_->setLanguage(language_);
        setView(list_);
    }
    return list_;
}

void SkinComboBox::setEditable(bool editable) {
    if (editable) {
        if (edit() == nullptr) {
            setLineEdit(new LimitedLineEdit(this));
            setUpEdit();
        }
        placeEdit();
    } else {
        QComboBox::setEditable(false);
    }
}

LimitedLineEdit* SkinComboBox::edit() const {
    return qobject_cast<LimitedLineEdit*>(lineEdit());
}

void SkinComboBox::setTextHidden(bool hidden) {
    textHidden_ = hidden;
    update();
}

void SkinComboBox::setLanguage(int language) {
    language_ = language;
    if (list_ != nullptr) {
        list_->setLanguage(language);
    }
    if (LimitedLineEdit* part = edit()) {
        part->setFont(skinFont(FontFace::Arial, kTextPoints, this->language()));
    }
    update();
}

int SkinComboBox::language() const {
    return language_ < 0 ? skinLanguage() : language_;
}

void SkinComboBox::showPopup() {
    list();
    adoptEdit();
    QComboBox::showPopup();
    if (QWidget* container = view()->parentWidget()) {
        container->removeEventFilter(this);
        container->installEventFilter(this);
    }
}

void SkinComboBox::hidePopup() {
    // The list hides itself first when an item is chosen, and the choice follows at once.
    closingOnChoice_ = view()->isVisible();
    QComboBox::hidePopup();
    if (closingOnChoice_) {
        QTimer::singleShot(0, this, [this] { closingOnChoice_ = false; });
    }
}

void SkinComboBox::openFromPress() {
    // A box opened by the mouse has the keys afterwards, as one clicked anywhere else would.
    setFocus(Qt::MouseFocusReason);
    showPopup();
    swallowRelease_ = view()->isVisible();
}

bool SkinComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        update(); // the focus frame
    }
    if (watched == lineEdit() && lineEdit()->isReadOnly()) {
        // A box that only shows its choice opens wherever it is pressed.
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                openFromPress();
                return true;
            }
        }
        return QComboBox::eventFilter(watched, event);
    }
    if (view() != nullptr && watched == view()->parentWidget()) {
        if (event->type() == QEvent::MouseButtonPress) {
            swallowRelease_ = false;
        } else if (event->type() == QEvent::MouseButtonRelease && swallowRelease_) {
            // The release of the press that opened the list lands on the box, not on the list.
            swallowRelease_ = false;
            const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            if (rect().contains(mapFromGlobal(global))) {
                return true;
            }
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void SkinComboBox::keyPressEvent(QKeyEvent* event) {
    // In a field that takes a typed name the arrows open the list rather than swap the text.
    const bool arrow = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    if (arrow && isEditable() && !lineEdit()->isReadOnly() && event->modifiers() == Qt::NoModifier) {
        showPopup();
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void SkinComboBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client = rect();
    // A 2-pixel frame of which the picture covers the inner pixel on the left and top.
    painter.fillRect(client, skin::kRed);
    drawBackgroundPiece(painter, QRect(1, 1, width() - 3, height() - 3),
                        backgroundPieceSource(geometry(), PieceKind::ComboBox));
    if (!textHidden_) {
        painter.setFont(languageFont(kTextPoints, language()));
        painter.setPen(skin::kRed);
        painter.drawText(client.adjusted(kTextIndent, 0, 0, 0),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, currentText());
    }
    painter.setFont(skinFont(FontFace::Arial, kArrowPoints, language()));
    painter.setPen(skin::kRed);
    painter.drawText(client.adjusted(0, 0, -kArrowIndent, 0),
                     Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, kDownArrow);
    // On the outer pixel of the frame: the edit part covers the inside.
    if (showsFocusFrame(*this)) {
        drawFocusFrame(painter, client);
    }
}

void SkinComboBox::resizeEvent(QResizeEvent* event) {
    QComboBox::resizeEvent(event);
    placeEdit();
}

void SkinComboBox::showEvent(QShowEvent* event) {
    adoptEdit();
    QComboBox::showEvent(event);
    placeEdit();
}

void SkinComboBox::changeEvent(QEvent* event) {
    // Style and font changes make the base class place its edit part again.
    QComboBox::changeEvent(event);
    placeEdit();
}

void SkinComboBox::mousePressEvent(QMouseEvent* event) {
    // Beside the edit part the box opens its list, wherever the style puts its arrow.
    if (isEditable() && event->button() == Qt::LeftButton &&
        event->position().x() > lineEdit()->geometry().right()) {
        openFromPress();
        event->accept();
        return;
    }
    QComboBox::mousePressEvent(event);
}

void SkinComboBox::adoptEdit() {
    // An edit part made by the plain base class is replaced on first use.
    if (isEditable() && edit() == nullptr) {
        const QString text = currentText();
        setLineEdit(new LimitedLineEdit(this));
        setUpEdit();
        setEditText(text);
        placeEdit();
    }
}

void SkinComboBox::setUpEdit() {
    lineEdit()->setCompleter(nullptr);
    lineEdit()->installEventFilter(this);
}

void SkinComboBox::placeEdit() {
    if (QLineEdit* part = lineEdit()) {
        const int w = std::min(kEditPlace.width(), width() - kEditPlace.x() - kArrowArea);
        part->setGeometry(kEditPlace.x(), kEditPlace.y(), std::max(0, w), kEditPlace.height());
    }
}

} // namespace zav
