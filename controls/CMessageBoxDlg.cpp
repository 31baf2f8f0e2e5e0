#include "controls/CMessageBoxDlg.h"

#include "controls/CClickButton.h"
#include "controls/QtText.h"
#include "controls/Skin.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace zav {

namespace {

constexpr double kTextPoints = 10.0;
constexpr double kOpacity = 200.0 / 255.0;
constexpr int kLinePitch = 25;
constexpr int kBaseHeight = 50;
constexpr int kButtonTop = 10;
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 30;
constexpr int kLoneOkX = 220;
constexpr int kOkX = 180;
constexpr int kCancelX = 260;
constexpr int kFrameWidth = 3;
constexpr int kInset = 2; // the text rectangle is taken 2 pixels inside the box
constexpr int kTextMargin = 15;
constexpr int kTextTop = 10;
constexpr int kTextHeight = 20;
constexpr QRect kLinkPlace{15, 37, 400, 16};
const char* const kUpdatePage = "https://github.com/zavora/zavora/releases";

} // namespace

CMessageBoxDlg::CMessageBoxDlg(const QStringList& lines, MessageBoxKind kind, int language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_kind(kind), m_language(language) {
    // Modal to its own window only: the demo's simulator window stays usable meanwhile.
    if (parent != nullptr) {
        setWindowModality(Qt::WindowModal);
    }
    for (int i = 0; i < kMaxLines && i < lines.size(); ++i) {
        m_lines[i] = lines[i];
    }
    for (int i = kMaxLines; i > 0; --i) {
        if (!m_lines[i - 1].isEmpty()) {
            m_lineCount = i;
            break;
        }
    }
    // The box draws its own text; its window is named by it, for window lists and tools that find
    // windows by name.
    setWindowTitle(
        QStringList(m_lines.begin(), m_lines.begin() + m_lineCount).join(QLatin1Char(' ')).simplified());
    setFont(languageFont(kTextPoints, language));
    setWindowOpacity(kOpacity);
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_okButton = new CClickButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QString::number(IDOK));
    m_okButton->setLanguage(language);
    m_cancelButton = new CClickButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QString::number(IDCANCEL));
    m_cancelButton->setLanguage(language);
    connect(m_okButton, &QPushButton::clicked, this, [this] { done(IDOK); });
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { done(IDCANCEL); });

    m_link = new QLabel(updatePageUrl().toString(), this);
    m_link->setObjectName(QString::number(kLinkId));
    m_link->setAutoFillBackground(true);
    QPalette colours = m_link->palette();
    colours.setColor(QPalette::Window, skin::kBlack);
    colours.setColor(QPalette::WindowText, skin::kLinkBlue);
    m_link->setPalette(colours);
    m_link->setCursor(Qt::PointingHandCursor);
    m_link->installEventFilter(this);
    m_link->hide();

    layOut();
}

CMessageBoxDlg::CMessageBoxDlg(std::initializer_list<QString> lines, MessageBoxKind kind, int language,
                               QWidget* parent)
    : CMessageBoxDlg(QStringList(lines), kind, language, parent) {}

CMessageBoxDlg::CMessageBoxDlg(std::span<const std::string> lines, MessageBoxKind kind, int language,
                               QWidget* parent)
    : CMessageBoxDlg(
          [lines] {
              QStringList converted;
              for (const std::string& text : lines) {
                  converted.append(QString::fromStdString(text));
              }
              return converted;
          }(),
          kind, language, parent) {}

CMessageBoxDlg::CMessageBoxDlg(TextId text, MessageBoxKind kind, int language, QWidget* parent)
    : CMessageBoxDlg(
          [text, language] {
              QStringList converted;
              for (std::string_view line : textLines(text, language)) {
                  converted.append(qstr(line));
              }
              return converted;
          }(),
          kind, language, parent) {}

void CMessageBoxDlg::layOut() {
    // A box without text is 50 pixels high with its buttons at the top.
    resize(kWidth, kBaseHeight + kLinePitch * m_lineCount);
    const int buttonTop = kButtonTop + kLinePitch * m_lineCount;
    switch (m_kind) {
    case MessageBoxKind::OkOnly:
        m_okButton->setGeometry(kLoneOkX, buttonTop, kButtonWidth, kButtonHeight);
        m_cancelButton->setGeometry(kCancelX, buttonTop, kButtonWidth, kButtonHeight);
        m_cancelButton->hide();
        break;
    case MessageBoxKind::YesNo:
        m_okButton->setText(QStringLiteral("Yes"));
        m_cancelButton->setText(QStringLiteral("No"));
        [[fallthrough]];
    case MessageBoxKind::OkCancel:
    default:
        m_okButton->setGeometry(kOkX, buttonTop, kButtonWidth, kButtonHeight);
        m_cancelButton->setGeometry(kCancelX, buttonTop, kButtonWidth, kButtonHeight);
        break;
    }
    m_link->setGeometry(kLinkPlace);
    m_link->setFont(font());
}

void CMessageBoxDlg::setShowUpdateLink(bool show) {
    m_showUpdateLink = show;
    m_link->setVisible(show);
}

QString CMessageBoxDlg::line(int index) const {
    return index >= 0 && index < kMaxLines ? m_lines[index] : QString();
}

QUrl CMessageBoxDlg::updatePageUrl() {
    return QUrl(QString::fromLatin1(kUpdatePage));
}

QRect CMessageBoxDlg::lineRect(int index) const {
    const QRect inner = rect().adjusted(kInset, kInset, -kInset, -kInset);
    const int top = inner.top() + kTextTop + kLinePitch * index;
    return QRect(QPoint(inner.left() + kTextMargin, top),
                 QPoint(inner.left() + inner.width() - kTextMargin - 1, top + kTextHeight - 1));
}

void CMessageBoxDlg::accept() {
    done(IDOK);
}

void CMessageBoxDlg::reject() {
    done(IDCANCEL);
}

void CMessageBoxDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::kRed);
    painter.fillRect(rect().adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth), skin::kBlack);
    painter.setFont(font());
    painter.setPen(skin::kRed);
    for (int i = 0; i < kMaxLines; ++i) {
        if (m_lines[i].isEmpty()) {
            continue; // an empty line keeps its place
        }
        const QRect place = lineRect(i);
        painter.save();
        painter.setClipRect(place);
        painter.drawText(place, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_lines[i]);
        painter.restore();
    }
}

void CMessageBoxDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        done(IDOK);
        return;
    case Qt::Key_Escape:
        done(IDCANCEL);
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CMessageBoxDlg::showEvent(QShowEvent* event) {
    centreOnOwner();
    QDialog::showEvent(event);
}

bool CMessageBoxDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_link && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The box stays open whether or not the page could be opened.
        QDesktopServices::openUrl(updatePageUrl());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CMessageBoxDlg::centreOnOwner() {
    QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : QApplication::activeWindow();
    if (owner == this) {
        owner = nullptr;
    }
    const QRect area = owner != nullptr ? owner->frameGeometry() : screen()->availableGeometry();
    QRect box = frameGeometry();
    box.moveCenter(area.center());
    move(box.topLeft());
}

} // namespace zav
