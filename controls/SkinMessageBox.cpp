#include "controls/SkinMessageBox.h"

#include "controls/QtText.h"
#include "controls/Skin.h"
#include "controls/SkinButton.h"

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

SkinMessageBox::SkinMessageBox(const QStringList& lines, MessageBoxKind kind, int language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), kind_(kind), language_(language) {
    // Modal to its own window only: the demo's simulator window stays usable meanwhile.
    if (parent != nullptr) {
        setWindowModality(Qt::WindowModal);
    }
    for (int i = 0; i < kMaxLines && i < lines.size(); ++i) {
        lines_[i] = lines[i];
    }
    for (int i = kMaxLines; i > 0; --i) {
        if (!lines_[i - 1].isEmpty()) {
            lineCount_ = i;
            break;
        }
    }
    // The box draws its own text; its window is named by it, for window lists and tools that find
    // windows by name.
    setWindowTitle(
        QStringList(lines_.begin(), lines_.begin() + lineCount_).join(QLatin1Char(' ')).simplified());
    setFont(languageFont(kTextPoints, language));
    setWindowOpacity(kOpacity);
    setAttribute(Qt::WA_OpaquePaintEvent);

    okButton_ = new SkinButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QString::number(IDOK));
    okButton_->setLanguage(language);
    cancelButton_ = new SkinButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QString::number(IDCANCEL));
    cancelButton_->setLanguage(language);
    connect(okButton_, &QPushButton::clicked, this, [this] { done(IDOK); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { done(IDCANCEL); });

    link_ = new QLabel(updatePageUrl().toString(), this);
    link_->setObjectName(QString::number(kLinkId));
    link_->setAutoFillBackground(true);
    QPalette colours = link_->palette();
    colours.setColor(QPalette::Window, skin::kBlack);
    colours.setColor(QPalette::WindowText, skin::kLinkBlue);
    link_->setPalette(colours);
    link_->setCursor(Qt::PointingHandCursor);
    link_->installEventFilter(this);
    link_->hide();

    layOut();
}

SkinMessageBox::SkinMessageBox(std::initializer_list<QString> lines, MessageBoxKind kind, int language,
                               QWidget* parent)
    : SkinMessageBox(QStringList(lines), kind, language, parent) {}

SkinMessageBox::SkinMessageBox(std::span<const std::string> lines, MessageBoxKind kind, int language,
                               QWidget* parent)
    : SkinMessageBox(
          [lines] {
              QStringList converted;
              for (const std::string& text : lines) {
                  converted.append(QString::fromStdString(text));
              }
              return converted;
          }(),
          kind, language, parent) {}

SkinMessageBox::SkinMessageBox(TextId text, MessageBoxKind kind, int language, QWidget* parent)
    : SkinMessageBox(
          [text, language] {
              QStringList converted;
              for (std::string_view line : textLines(text, language)) {
                  converted.append(qstr(line));
              }
              return converted;
          }(),
          kind, language, parent) {}

void SkinMessageBox::layOut() {
    // A box without text is 50 pixels high with its buttons at the top.
    resize(kWidth, kBaseHeight + kLinePitch * lineCount_);
    const int buttonTop = kButtonTop + kLinePitch * lineCount_;
    switch (kind_) {
    case MessageBoxKind::OkOnly:
        okButton_->setGeometry(kLoneOkX, buttonTop, kButtonWidth, kButtonHeight);
        cancelButton_->setGeometry(kCancelX, buttonTop, kButtonWidth, kButtonHeight);
        cancelButton_->hide();
        break;
    case MessageBoxKind::YesNo:
        okButton_->setText(QStringLiteral("Yes"));
        cancelButton_->setText(QStringLiteral("No"));
        [[fallthrough]];
    case MessageBoxKind::OkCancel:
    default:
        okButton_->setGeometry(kOkX, buttonTop, kButtonWidth, kButtonHeight);
        cancelButton_->setGeometry(kCancelX, buttonTop, kButtonWidth, kButtonHeight);
        break;
    }
    link_->setGeometry(kLinkPlace);
    link_->setFont(font());
}

void SkinMessageBox::setShowUpdateLink(bool show) {
    showUpdateLink_ = show;
    link_->setVisible(show);
}

QString SkinMessageBox::line(int index) const {
    return index >= 0 && index < kMaxLines ? lines_[index] : QString();
}

QUrl SkinMessageBox::updatePageUrl() {
    return QUrl(QString::fromLatin1(kUpdatePage));
}

QRect SkinMessageBox::lineRect(int index) const {
    const QRect inner = rect().adjusted(kInset, kInset, -kInset, -kInset);
    const int top = inner.top() + kTextTop + kLinePitch * index;
    return QRect(QPoint(inner.left() + kTextMargin, top),
                 QPoint(inner.left() + inner.width() - kTextMargin - 1, top + kTextHeight - 1));
}

void SkinMessageBox::accept() {
    done(IDOK);
}

void SkinMessageBox::reject() {
    done(IDCANCEL);
}

void SkinMessageBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::kRed);
    painter.fillRect(rect().adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth), skin::kBlack);
    painter.setFont(font());
    painter.setPen(skin::kRed);
    for (int i = 0; i < kMaxLines; ++i) {
        if (lines_[i].isEmpty()) {
            continue; // an empty line keeps its place
        }
        const QRect place = lineRect(i);
        painter.save();
        painter.setClipRect(place);
        painter.drawText(place, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, lines_[i]);
        painter.restore();
    }
}

void SkinMessageBox::keyPressEvent(QKeyEvent* event) {
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

void SkinMessageBox::showEvent(QShowEvent* event) {
    centreOnOwner();
    QDialog::showEvent(event);
}

bool SkinMessageBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == link_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The box stays open whether or not the page could be opened.
        QDesktopServices::openUrl(updatePageUrl());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SkinMessageBox::centreOnOwner() {
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
