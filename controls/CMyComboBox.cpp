#include "controls/CMyComboBox.h"

#include "controls/CComboBoxList.h"
#include "controls/CMyEdit.h"
#include "controls/Skin.h"

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

CMyComboBox::CMyComboBox(QWidget* parent) : QComboBox(parent) {
    setFixedHeight(kFieldHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMaxVisibleItems(30);
    // The list drops below the box, as a list box, in every widget style.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    // A typed name is only text: Return adds no item and nothing is completed.
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (m_closingOnChoice) {
            m_closingOnChoice = false;
            emit chosen(index);
        }
    });
}

CComboBoxList* CMyComboBox::list() {
    // Made when first wanted: a page has many boxes, and most are never opened.
    if (m_list == nullptr) {
        m_list = new CComboBoxList(this);
        m_list->setLanguage(m_language);
        setView(m_list);
    }
    return m_list;
}

void CMyComboBox::setEditable(bool editable) {
    if (editable) {
        if (edit() == nullptr) {
            setLineEdit(new CMyEdit(this));
            setUpEdit();
        }
        placeEdit();
    } else {
        QComboBox::setEditable(false);
    }
}

CMyEdit* CMyComboBox::edit() const {
    return qobject_cast<CMyEdit*>(lineEdit());
}

void CMyComboBox::setTextHidden(bool hidden) {
    m_textHidden = hidden;
    update();
}

void CMyComboBox::setLanguage(int language) {
    m_language = language;
    if (m_list != nullptr) {
        m_list->setLanguage(language);
    }
    if (CMyEdit* part = edit()) {
        part->setFont(skinFont(FontFace::Arial, kTextPoints, this->language()));
    }
    update();
}

int CMyComboBox::language() const {
    return m_language < 0 ? skinLanguage() : m_language;
}

void CMyComboBox::showPopup() {
    list();
    adoptEdit();
    QComboBox::showPopup();
    if (QWidget* container = view()->parentWidget()) {
        container->removeEventFilter(this);
        container->installEventFilter(this);
    }
}

void CMyComboBox::hidePopup() {
    // The list hides itself first when an item is chosen, and the choice follows at once.
    m_closingOnChoice = view()->isVisible();
    QComboBox::hidePopup();
    if (m_closingOnChoice) {
        QTimer::singleShot(0, this, [this] { m_closingOnChoice = false; });
    }
}

void CMyComboBox::openFromPress() {
    // A box opened by the mouse has the keys afterwards, as one clicked anywhere else would.
    setFocus(Qt::MouseFocusReason);
    showPopup();
    m_swallowRelease = view()->isVisible();
}

bool CMyComboBox::eventFilter(QObject* watched, QEvent* event) {
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
            m_swallowRelease = false;
        } else if (event->type() == QEvent::MouseButtonRelease && m_swallowRelease) {
            // The release of the press that opened the list lands on the box, not on the list.
            m_swallowRelease = false;
            const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            if (rect().contains(mapFromGlobal(global))) {
                return true;
            }
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void CMyComboBox::keyPressEvent(QKeyEvent* event) {
    // In a field that takes a typed name the arrows open the list rather than swap the text.
    const bool arrow = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    if (arrow && isEditable() && !lineEdit()->isReadOnly() && event->modifiers() == Qt::NoModifier) {
        showPopup();
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void CMyComboBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client = rect();
    // A 2-pixel frame of which the picture covers the inner pixel on the left and top.
    painter.fillRect(client, skin::kRed);
    drawBackgroundPiece(painter, QRect(1, 1, width() - 3, height() - 3),
                        backgroundPieceSource(geometry(), PieceKind::ComboBox));
    if (!m_textHidden) {
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

void CMyComboBox::resizeEvent(QResizeEvent* event) {
    QComboBox::resizeEvent(event);
    placeEdit();
}

void CMyComboBox::showEvent(QShowEvent* event) {
    adoptEdit();
    QComboBox::showEvent(event);
    placeEdit();
}

void CMyComboBox::changeEvent(QEvent* event) {
    // Style and font changes make the base class place its edit part again.
    QComboBox::changeEvent(event);
    placeEdit();
}

void CMyComboBox::mousePressEvent(QMouseEvent* event) {
    // Beside the edit part the box opens its list, wherever the style puts its arrow.
    if (isEditable() && event->button() == Qt::LeftButton &&
        event->position().x() > lineEdit()->geometry().right()) {
        openFromPress();
        event->accept();
        return;
    }
    QComboBox::mousePressEvent(event);
}

void CMyComboBox::adoptEdit() {
    // An edit part made by the plain base class is replaced on first use.
    if (isEditable() && edit() == nullptr) {
        const QString text = currentText();
        setLineEdit(new CMyEdit(this));
        setUpEdit();
        setEditText(text);
        placeEdit();
    }
}

void CMyComboBox::setUpEdit() {
    lineEdit()->setCompleter(nullptr);
    lineEdit()->installEventFilter(this);
}

void CMyComboBox::placeEdit() {
    if (QLineEdit* part = lineEdit()) {
        const int w = std::min(kEditPlace.width(), width() - kEditPlace.x() - kArrowArea);
        part->setGeometry(kEditPlace.x(), kEditPlace.y(), std::max(0, w), kEditPlace.height());
    }
}

} // namespace zav
