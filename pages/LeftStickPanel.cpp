#include "pages/LeftStickPanel.h"

#include "controls/QtText.h"
#include "controls/Skin.h"
#include "controls/SkinButton.h"
#include "pages/AssignmentPage.h"
#include "pages/ControlIds.h"
#include "pages/KeyCapture.h"
#include "pages/KeyTables.h"
#include "pages/MoveButton.h"
#include "pages/Pictures.h"
#include "pages/VirtualKey.h"
#include "text/Texts.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace zav {

namespace {

// Where the panel stands inside the page: these distances from the page's edges.
constexpr int kLeftInset = 25;
constexpr int kTopInset = 100;
constexpr int kRightInset = 580;
constexpr int kBottomInset = 165;

constexpr QRect kOkBox(180, 310, 70, 25);
constexpr QRect kCancelBox(255, 310, 70, 25);
constexpr QRect kTitleBox(15, 10, 185, 25); // (15, 10)-(200, 35)
constexpr QRect kPictureBox(0, 20, 321, 341);
constexpr int kFrameWidth = 2;
constexpr double kTitlePoints = 10;

} // namespace

LeftStickPanel::LeftStickPanel(AssignmentPage& page)
    : QWidget(&page), page_(page), capture_(new KeyCapture(page, *this)) {
    setObjectName(QStringLiteral("166"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();

    picture_ = loadPicture(QStringLiteral("5230_keyboard_l3d.png"));

    ok_ = new SkinButton(qstr(text(TextId::ButtonOk, 0)), this);
    ok_->setObjectName(QString::number(kOk));
    ok_->setGeometry(kOkBox);
    connect(ok_, &QPushButton::clicked, this, &LeftStickPanel::accept);
    cancel_ = new SkinButton(qstr(text(TextId::ButtonCancel, 0)), this);
    cancel_->setObjectName(QString::number(kCancel));
    cancel_->setGeometry(kCancelBox);
    connect(cancel_, &QPushButton::clicked, this, &LeftStickPanel::reject);

    // A direction takes its input as a key slot does, into the page's display; the page's capture
    // buttons stay usable.
    QList<QWidget*> usable = {page_.control(page_.layout().captureNcId)};
    for (int id : ids::kUsableDuringCapture) {
        usable.append(page_.control(id));
    }
    capture_->setUsableButtons(usable);
    connect(capture_, &KeyCapture::captured, this, &LeftStickPanel::setCaptured);
}

LeftStickPanel::~LeftStickPanel() {
    capture_->stop();
}

bool LeftStickPanel::capturing() const {
    return capture_->active();
}

void LeftStickPanel::popUp() {
    setGeometry(kLeftInset, kTopInset, page_.width() - kLeftInset - kRightInset,
                page_.height() - kTopInset - kBottomInset);
    show();
    raise();
    refresh();
}

void LeftStickPanel::refresh() {
    endCapture();
    const auto record = page_.record();
    for (int i = 0; i < kDirections; ++i) {
        const auto index = static_cast<std::size_t>(i);
        const QString label =
            QString::fromStdString(codeToLabel(page_.model(), page_.mode(), record[kFirstByte + index]));
        auto* button = new MoveButton(kSlotButtonControlId, label, this);
        // Marked as a slot button it never drags; its number is the direction counted from 1.
        button->makeSlotButton(i + 1);
        const Box& place = kDirectionPlaces[index].box;
        button->setGeometry(place.x, place.y, place.w, place.h);
        connect(button, &MoveButton::slotClicked, this, &LeftStickPanel::onDirectionClicked);
        if (MoveButton* old = buttons_[index]) {
            old->hide();
            old->deleteLater();
        }
        buttons_[index] = button;
        captions_[index] = label;
        button->show();
        button->update();
    }
}

MoveButton* LeftStickPanel::directionButton(int direction) const {
    return direction >= 0 && direction < kDirections ? buttons_[static_cast<std::size_t>(direction)].data()
                                                     : nullptr;
}

QString LeftStickPanel::caption(int direction) const {
    return direction >= 0 && direction < kDirections ? captions_[static_cast<std::size_t>(direction)]
                                                     : QString();
}

void LeftStickPanel::setLanguage(int language) {
    language_ = language;
    ok_->setLanguage(language);
    cancel_->setLanguage(language);
    update();
}

// --- OK and Cancel ---------------------------------------------------------------------------

void LeftStickPanel::accept() {
    // Every direction is stored from its caption, also those left as they were.
    auto record = page_.record();
    for (int i = 0; i < kDirections; ++i) {
        const auto index = static_cast<std::size_t>(i);
        record[kFirstByte + index] = labelToCode(page_.model(), page_.mode(), captions_[index].toStdString());
    }
    hide();
    emit finished(kOk);
}

void LeftStickPanel::reject() {
    hide();
    emit finished(kCancel);
}

// --- capture ---------------------------------------------------------------------------------

void LeftStickPanel::onDirectionClicked(MoveButton* button) {
    // While a direction waits, a left click is an input, not a new choice.
    if (page_.mode() != kModeKeyboard || capture_->active()) {
        return;
    }
    const auto found = std::find(buttons_.begin(), buttons_.end(), button);
    if (found == buttons_.end()) {
        return;
    }
    selected_ = static_cast<int>(found - buttons_.begin());
    button->setSelected(true);
    button->setCaptureLook(true);
    capture_->start();
    showOnPage(ids::kCurrent, button->label());
    // A new capture starts empty: OK before any input changes nothing.
    setCaptured(QString());
}

void LeftStickPanel::captureOk(const QString& shownText) {
    const int direction = selected_;
    endCapture();
    if (direction < 0 || shownText.isEmpty()) {
        return;
    }
    const auto index = static_cast<std::size_t>(direction);
    captions_[index] = shownText;
    if (MoveButton* button = buttons_[index]) {
        button->setLabel(shownText);
    }
}

void LeftStickPanel::captureCancel() {
    endCapture();
}

void LeftStickPanel::endCapture() {
    capture_->stop();
    if (MoveButton* button = directionButton(selected_)) {
        button->setSelected(false);
        button->setCaptureLook(false);
    }
    selected_ = -1;
}

void LeftStickPanel::setCaptured(const QString& name) {
    capturedName_ = name;
    showOnPage(ids::kCaptured, name);
}

void LeftStickPanel::showOnPage(int controlId, const QString& text) {
    if (auto* display = qobject_cast<QLabel*>(page_.control(controlId))) {
        display->setText(text);
    }
}

void LeftStickPanel::mousePressEvent(QMouseEvent* event) {
    // A side button names itself even while no direction waits.
    if (event->button() == Qt::BackButton || event->button() == Qt::ForwardButton) {
        if (const auto label = labelForMouseEvent(*event)) {
            setCaptured(QString::fromStdString(*label));
        }
    }
    event->accept();
}

void LeftStickPanel::hideEvent(QHideEvent* event) {
    endCapture();
    QWidget::hideEvent(event);
}

// --- painting --------------------------------------------------------------------------------

void LeftStickPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), skin::kRed);
    p.fillRect(rect().adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth), skin::kBlack);
    p.setPen(skin::kRed);
    p.setFont(skinFont(FontFace::Arial, kTitlePoints, language_));
    p.drawText(kTitleBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               qstr(text(TextId::LStickPanelTitle, language_)));
    if (!picture_.isNull()) {
        p.drawImage(kPictureBox, picture_);
    }
}

} // namespace zav
