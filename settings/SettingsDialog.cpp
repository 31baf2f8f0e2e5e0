#include "settings/SettingsDialog.h"

#include "controls/QtText.h"
#include "controls/Skin.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinMessageBox.h"
#include "device/DeviceLink.h"
#include "device/DeviceWorker.h"
#include "device/Frames.h"
#include "profiles/ModelDescription.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include <string>
#include <vector>

namespace zav {

namespace {

constexpr double kFontPoints = 11.0;
constexpr double kOpacity = 200.0 / 255.0;
constexpr int kFrameInset = 2; // the red outline shows its inner 2 pixels
constexpr QRect kOkPlace{451, 340, 100, 30};
constexpr QRect kClosePlace{565, 5, 30, 30};
constexpr QRect kHelpPlace{530, 5, 30, 30};
constexpr QRect kModeComboPlace{15, 40, 150, 30};

// A model with one record per bank shows it whatever slot the page has chosen.
bool onlyRecordSlot(int model) {
    const ModelDescription* m = modelDescription(model);
    return m != nullptr && m->profileSlots == 1;
}

} // namespace

SettingsDialog::SettingsDialog(const SettingsTarget& target, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), link_(target.link), worker_(target.worker),
      model_(target.model), slot_(onlyRecordSlot(target.model) ? 0 : target.slot),
      language_(target.language) {
    // Modal to the main window only: the demo's simulator window stays usable meanwhile.
    setWindowModality(Qt::WindowModal);

    font_ = languageFont(kFontPoints, language_);
    setFixedSize(kWidth, kHeight);
    setWindowOpacity(kOpacity);
    setAttribute(Qt::WA_OpaquePaintEvent);

    auto addButton = [this](const QString& caption, int id, const QRect& place) {
        auto* button = new SkinButton(caption, this);
        button->setObjectName(QString::number(id));
        button->setLanguage(language_);
        button->setGeometry(place);
        return button;
    };
    ok_ = addButton(QStringLiteral("OK"), IDOK, kOkPlace);
    close_ = addButton(QStringLiteral("X"), IDCANCEL, kClosePlace);
    help_ = addButton(QStringLiteral("?"), kHelpButton, kHelpPlace);
    connect(ok_, &QPushButton::clicked, this, &SettingsDialog::accept);
    connect(close_, &QPushButton::clicked, this, &SettingsDialog::reject);
    connect(help_, &QPushButton::clicked, this, &SettingsDialog::showHelp);

    // Covers the whole box, lets every mouse event through and paints the value labels last.
    labelLayer_ = new QWidget(this);
    labelLayer_->setAttribute(Qt::WA_TransparentForMouseEvents);
    labelLayer_->setGeometry(rect());
    labelLayer_->installEventFilter(this);
}

SettingsDialog::~SettingsDialog() = default;

int SettingsDialog::shownModel() const {
    return model_ != 0 ? model_ : models::kKite;
}

void SettingsDialog::setTitle(TextId id, const QRect& place) {
    title_ = id;
    titlePlace_ = place;
    update();
}

void SettingsDialog::setHelp(TextId id, int controlId) {
    helpText_ = id;
    help_->setObjectName(QString::number(controlId));
}

void SettingsDialog::addModeCombo() {
    modeCombo_ = new SkinComboBox(this);
    modeCombo_->setObjectName(QString::number(kModeCombo));
    modeCombo_->setLanguage(language_);
    modeCombo_->setGeometry(kModeComboPlace);
    if (hasTexts()) {
        modeCombo_->addItem(languageText(TextId::SettingsModeNormal));
        modeCombo_->addItem(languageText(TextId::SettingsModeAds));
    }
    modeCombo_->setCurrentIndex(kModeNormal);
    modeCombo_->setTextHidden(false);
    shownMode_ = kModeNormal;
    connect(modeCombo_, &QComboBox::currentIndexChanged, this, &SettingsDialog::onModeSelected);
}

void SettingsDialog::onModeSelected(int index) {
    // Choosing the mode already shown again changes nothing, so its values are never taken for
    // the other mode's.
    const int mode = index == kModeNormal ? kModeNormal : kModeAds;
    if (index < 0 || mode == shownMode_) {
        return;
    }
    const int from = shownMode_;
    shownMode_ = mode;
    modeChanged(from, mode);
}

void SettingsDialog::modeChanged(int, int) {}

void SettingsDialog::paintLabels(QPainter&) {}

std::uint8_t SettingsDialog::storedValue(SettingsField field) const {
    const int model = shownModel();
    return settingsField(recordAt(link_.workImage(model), model, slot_), model, field);
}

void SettingsDialog::storeValue(SettingsField field, int value) {
    if (model_ == 0) {
        return;
    }
    const auto byte = static_cast<std::uint8_t>(value & 0xFF);
    DeviceLink& link = link_;
    setSettingsField(recordAt(link.workImage(model_), model_, slot_), model_, field, byte);
    setSettingsField(recordAt(link.sendImage(model_), model_, slot_), model_, field, byte);
}

void SettingsDialog::accept() {
    if (model_ != 0) {
        store();
    }
    done(IDOK);
}

void SettingsDialog::reject() {
    sendFrame(cmd::kRelease);
    done(IDCANCEL);
}

void SettingsDialog::showHelp() {
    if (!hasTexts() || helpText_ == TextId::Count) {
        return;
    }
    SkinMessageBox box(helpText_, MessageBoxKind::OkOnly, language_, this);
    box.exec();
}

void SettingsDialog::sendFrame(std::uint8_t code) {
    // The adapter is only ever talked to from the device thread; the answer does not matter here.
    worker_.run(
        this, [&link = link_, code] { return link.SendCommand(code, 0); }, [](bool) {});
}

QRect SettingsDialog::edges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

void SettingsDialog::drawCentred(QPainter& painter, const QRect& place, const QString& text) {
    painter.drawText(place, Qt::AlignCenter | Qt::TextSingleLine, text);
}

bool SettingsDialog::hasTexts() const {
    return language_ >= 0 && language_ < kLanguageCount;
}

QString SettingsDialog::languageText(TextId id) const {
    return hasTexts() ? qstr(text(id, language_)) : QString();
}

void SettingsDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::kRed);
    painter.fillRect(rect().adjusted(kFrameInset, kFrameInset, -kFrameInset, -kFrameInset), skin::kBlack);
    if (title_ != TextId::Count) {
        painter.setFont(font_);
        painter.setPen(skin::kRed);
        painter.drawText(titlePlace_, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         languageText(title_));
    }
}

void SettingsDialog::showEvent(QShowEvent* event) {
    labelLayer_->raise();
    if (!opened_) {
        opened_ = true;
        centreOnOwner();
        ok_->setFocus();
        sendFrame(cmd::kStatus);
    }
    QDialog::showEvent(event);
}

void SettingsDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        return;
    case Qt::Key_Escape:
        reject();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == labelLayer_ && event->type() == QEvent::Paint) {
        QPainter painter(labelLayer_);
        painter.setFont(font_);
        painter.setPen(skin::kRed);
        paintLabels(painter);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SettingsDialog::centreOnOwner() {
    QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    const QRect area = owner != nullptr ? owner->frameGeometry() : screen()->availableGeometry();
    QRect box = frameGeometry();
    box.moveCenter(area.center());
    move(box.topLeft());
}

} // namespace zav
