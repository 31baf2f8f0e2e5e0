#include "controls/CMyComboBox.h"

#include "controls/CComboBoxList.h"
#include "controls/CMyEdit.h"
#include "controls/Skin.h"

#include <QMouseEvent>
#include <QPainter>

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
        showPopup();
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
        setEditText(text);
        placeEdit();
    }
}

void CMyComboBox::placeEdit() {
    if (QLineEdit* part = lineEdit()) {
        const int w = std::min(kEditPlace.width(), width() - kEditPlace.x() - kArrowArea);
        part->setGeometry(kEditPlace.x(), kEditPlace.y(), std::max(0, w), kEditPlace.height());
    }
}

} // namespace zav
