#include "pages/AssignmentPage.h"

#include "controls/FramedLabel.h"
#include "controls/QtText.h"
#include "controls/Skin.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinMessageBox.h"
#include "controls/ToggleButton.h"
#include "device/DeviceWorker.h"
#include "pages/BusyCover.h"
#include "pages/DropRules.h"
#include "pages/KeyCapture.h"
#include "pages/KeySlots.h"
#include "pages/KeyTables.h"
#include "pages/LeftStickPanel.h"
#include "pages/ModeList.h"
#include "pages/MoveButton.h"
#include "pages/OnScreenKeyboard.h"
#include "pages/PageHost.h"
#include "pages/PageLibrary.h"
#include "pages/PagePainting.h"
#include "pages/PagePalette.h"
#include "pages/ProfileSlotList.h"
#include "pages/StatusPoller.h"
#include "pages/TabChain.h"
#include "pages/VirtualKey.h"
#include "pages/WriteActions.h"
#include "profiles/AdapterTransfer.h"
#include "profiles/ProfileLibrary.h"
#include "profiles/ProfileRecord.h"
#include "settings/AccelerationDialog.h"
#include "settings/ButtonOptionsDialog.h"
#include "settings/DeadZoneDialog.h"
#include "settings/SensitivityDialog.h"
#include "settings/SettingsTarget.h"
#include "text/Texts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStandardPaths>

#include <algorithm>
#include <vector>

namespace zav {

namespace {

QRect qrect(const Box& b) {
    return QRect(b.x, b.y, b.w, b.h);
}

// Opens a settings dialog on what the page edits.
template <typename Dialog>
void openSettings(AssignmentPage& page) {
    Dialog dialog(page.settingsTarget(), &page);
    dialog.exec();
}

} // namespace

QString AssignmentPage::documentsFolder() {
    // Tests and sandboxes may point elsewhere.
    if (const QByteArray dir = qgetenv("ZAVORA_DOCUMENTS_DIR"); !dir.isEmpty()) {
        return QString::fromLocal8Bit(dir);
    }
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

AssignmentPage::AssignmentPage(PageHost& host, int model, QWidget* parent)
    : QWidget(parent), host_(host), model_(model), layout_(pageLayout(model)) {
    setObjectName(QString::number(layout_.templateId));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);

    buildControls();

    // A fresh page shows the defaults of its first mode in every slot.
    resetMode(0);
    host_.link().sendImage(model_) = host_.link().workImage(model_);
    palette_->setFaces(mode_);
    rebuild();

    library_ = std::make_unique<PageLibrary>(*this, host_, *profileList_);
    library_->library().buildListForStart();
    library_->sync();

    poll_ = new StatusPoller(host_, kPollMs, this);
    connect(poll_, &StatusPoller::stopped, this, [this] { update(qrect(pageArt().mouseArea)); });
    connect(poll_, &StatusPoller::done, this, &AssignmentPage::pollDone);

    busyCover_ = new BusyCover(kBusyCursorDelayMs, this);
    auto* writes =
        new WriteActions(*this, host_, *busyCover_, *qobject_cast<SkinButton*>(control(ids::kWrite)));
    connect(writes, &WriteActions::finished, this, &AssignmentPage::transferDone);

    const QList<QWidget*> chain = tabChain();
    for (qsizetype i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

AssignmentPage::~AssignmentPage() {
    library_.reset();
    capture_->stop();
}

QList<QWidget*> AssignmentPage::tabChain() const {
    return readingOrder(*this, keySlots_->buttons(), palette_->buttons(), busyCover_);
}

// --- controls --------------------------------------------------------------------------------

void AssignmentPage::place(QWidget* widget, int id) {
    widget->setObjectName(QString::number(id));
    if (const ControlPlace* where = controlPlace(model_, id)) {
        widget->setGeometry(qrect(where->box));
    }
    controls_[id] = widget;
}

SkinButton* AssignmentPage::addButton(int id, const QString& caption) {
    auto* button = new SkinButton(caption, this);
    place(button, id);
    return button;
}

SkinButton* AssignmentPage::addButton(int id, TextId caption) {
    return addButton(id, qstr(text(caption, 0)));
}

void AssignmentPage::addHelp(int id, std::function<TextId()> help) {
    connect(addButton(id, QStringLiteral("?")), &QPushButton::clicked, this,
            [this, help = std::move(help)] { tell(help()); });
}

QLabel* AssignmentPage::addCaption(int id, TextId caption, double points) {
    auto* label = new QLabel(qstr(text(caption, 0)), this);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setPalette(redTextPalette(label->palette()));
    label->setFont(skinFont(FontFace::Arial, points, 0));
    place(label, id);
    return label;
}

// The controls are made in this order, which is also their stacking order.
void AssignmentPage::buildControls() {
    // Slot statics mark where each key is; the slot buttons stand exactly over them.
    keySlots_ = new KeySlots(*this, layout_);
    connect(keySlots_, &KeySlots::clicked, this, &AssignmentPage::onSlotClicked);

    palette_ = new PagePalette(*this, layout_);
    connect(palette_, &PagePalette::dropped, this, [this](MoveButton* button, int slot) {
        if (slot == 0) {
            button->goHome();
        } else {
            assignFunction(button, slot);
        }
    });
    connect(palette_, &PagePalette::picked, this, [this](MoveButton* button) {
        // A refused function leaves the slot selected for another choice.
        if (mode_ != kModeKeyboard && selectedSlot_ != 0 && assignFunction(button, selectedSlot_)) {
            selectForAssign(0);
        }
    });

    modeList_ = new ModeList(model_, this);
    place(modeList_, ids::kModeList);
    modeList_->setEditable(true);
    modeList_->lineEdit()->setReadOnly(true);
    fillModeList(0);
    connect(modeList_, &QComboBox::activated, this, &AssignmentPage::changeMode);

    slotList_ = new ProfileSlotList(this);
    place(slotList_, ids::kSlotList);
    slotList_->setEditable(true);
    slotList_->lineEdit()->setReadOnly(true);
    for (std::string_view item : profileSlotTexts(model_)) {
        slotList_->addItem(qstr(item));
    }
    slotList_->setCurrentIndex(0);
    connect(slotList_, &QComboBox::activated, this, &AssignmentPage::changeSlot);

    // Its items and buttons work through the page's library.
    profileList_ = new SkinComboBox(this);
    place(profileList_, ids::kProfileList);
    profileList_->setEditable(true);

    connect(addButton(ids::kButtonOptions, TextId::CaptionButtonOptions), &QPushButton::clicked, this,
            [this] { openSettings<ButtonOptionsDialog>(*this); });
    addHelp(ids::kSwitchHelp, [this] { return switchHelp(model_); });
    connect(addButton(ids::kSensitivity, TextId::CaptionSensitivity), &QPushButton::clicked, this,
            [this] { openSettings<SensitivityDialog>(*this); });
    connect(addButton(ids::kAcceleration, TextId::CaptionAcceleration), &QPushButton::clicked, this,
            [this] { openSettings<AccelerationDialog>(*this); });
    connect(addButton(ids::kDeadZone, describe(layout_).texts->deadZoneCaption), &QPushButton::clicked, this,
            [this] { openSettings<DeadZoneDialog>(*this); });
    addButton(ids::kWrite, TextId::CaptionWrite);
    addButton(ids::kNew, TextId::CaptionNew);
    addButton(ids::kCopy, TextId::CaptionCopy);
    addButton(ids::kSave, TextId::CaptionSave);
    addButton(ids::kDefault, TextId::CaptionDefault);
    addButton(ids::kDelete, TextId::CaptionDelete);
    addHelp(ids::kPaletteHelp, [this] { return paletteHelp(model_, mode_); });
    connect(addButton(ids::kOnScreenKeyboard, TextId::CaptionOnScreenKeyboard), &QPushButton::clicked, this,
            &AssignmentPage::openOnScreenKeyboard);
    addHelp(ids::kProfileHelp, [] { return TextId::ProfileHelp; });
    connect(addButton(ids::kCaptureOk, TextId::ButtonOk), &QPushButton::clicked, this,
            &AssignmentPage::captureOk);
    connect(addButton(ids::kCaptureCancel, TextId::CaptionCancel), &QPushButton::clicked, this,
            &AssignmentPage::captureCancel);
    connect(addButton(layout_.captureNcId, TextId::CaptionNc), &QPushButton::clicked, this,
            [this] { captured_->setText(qstr(kLabelNoFunction)); });

    captured_ = new FramedLabel(this);
    place(captured_, ids::kCaptured);
    slotCurrent_ = new FramedLabel(this);
    place(slotCurrent_, ids::kCurrent);
    addCaption(ids::kInputKey, TextId::CaptionInputKey, 11);
    addCaption(ids::kVersion, TextId::CaptionVersion, 8);
    addCaption(ids::kGroupButtons, TextId::GroupButtons, 8.5);
    addCaption(ids::kGroupDPad, TextId::GroupDPad, 8.5);
    addCaption(ids::kGroupLStick, TextId::GroupLStick, 8.5);
    addCaption(ids::kGroupSpecial, TextId::GroupSpecial, 8.5);

    if (layout_.stickSelector) {
        dpad_ = new ToggleButton(ids::kDPad, qstr(text(TextId::CaptionDPad, 0)), this);
        dpad_->setPress(ToggleButton::Press::StaysOn);
        place(dpad_, ids::kDPad);
        dpad_->setOn(true);
        lstick_ = new ToggleButton(ids::kLStick, qstr(text(TextId::CaptionLStick, 0)), this);
        place(lstick_, ids::kLStick);
        connect(dpad_, &ToggleButton::clicked, this, [this] { selectStick(StickSelector::DPad); });
        connect(lstick_, &ToggleButton::clicked, this, [this] { selectStick(StickSelector::LStick); });
    }
    if (describe(layout_).switchByte >= 0) {
        connect(addButton(ids::kCaptureFn, TextId::CaptionFn), &QPushButton::clicked, this,
                &AssignmentPage::captureFn);
        switch_ = new ToggleButton(ids::kMossSwitch, qstr(text(TextId::SwitchOff, 0)), this);
        switch_->setShowsState(true);
        place(switch_, ids::kMossSwitch);
        addHelp(ids::kPrioritizeHelp, [] { return TextId::PrioritizeHelp; });
        lstickPanel_ = new LeftStickPanel(*this);
        connect(addButton(ids::kLStickSettings, TextId::CaptionLStickSettings), &QPushButton::clicked,
                lstickPanel_, &LeftStickPanel::popUp);
    }

    capture_ = new KeyCapture(*this, *this);
    QList<QWidget*> usable = {control(layout_.captureNcId)};
    for (int id : ids::kUsableDuringCapture) {
        usable.append(control(id));
    }
    capture_->setUsableButtons(usable);
    connect(capture_, &KeyCapture::captured, this, &AssignmentPage::setCaptured);
    connect(capture_, &KeyCapture::keyTaken, this,
            [this] { control(ids::kCaptureOk)->setFocus(Qt::TabFocusReason); });
}

QWidget* AssignmentPage::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

MoveButton* AssignmentPage::paletteButton(int id) const {
    return palette_->button(id);
}

MoveButton* AssignmentPage::slotButton(int slot) const {
    return keySlots_->button(slot);
}

QString AssignmentPage::slotLabel(int slot) const {
    return keySlots_->label(slot);
}

SkinComboBox* AssignmentPage::modeList() const {
    return modeList_;
}

SkinComboBox* AssignmentPage::slotList() const {
    return slotList_;
}

QString AssignmentPage::capturedText() const {
    return captured_->text();
}

bool AssignmentPage::captureOn() const {
    return capture_->active();
}

bool AssignmentPage::captureKeysFree() const {
    return capture_->keysFree();
}

bool AssignmentPage::busy() const {
    return busyCover_ != nullptr && busyCover_->busy();
}

ProfileLibrary& AssignmentPage::library() {
    return library_->library();
}

const ProfileListModel& AssignmentPage::profiles() const {
    return library_->profiles();
}

std::span<std::uint8_t> AssignmentPage::record() {
    return recordAt(host_.link().workImage(model_), model_, slot_);
}

bool AssignmentPage::readFromDevice(int mode) const {
    return mode >= 0 && mode < kModes && readFlags_[static_cast<std::size_t>(mode)];
}

void AssignmentPage::clearReadFlags() {
    readFlags_.fill(false);
}

bool AssignmentPage::connectedToThisModel() const {
    return host_.connected() && host_.link().model() == model_;
}

SettingsTarget AssignmentPage::settingsTarget() {
    return SettingsTarget{model_, slot_, host_.link(), host_.worker(), host_.language()};
}

QStringList AssignmentPage::pictureNames(int model) {
    return pagePictureNames(model);
}

// --- slot buttons ----------------------------------------------------------------------------

void AssignmentPage::setSlotButton(int slot, const QString& label) {
    keySlots_->setLabel(slot, label, host_.language());
}

QString AssignmentPage::slotName(int slot, const QString& shownLabel, int language) {
    return KeySlots::accessibleName(slot, shownLabel, language);
}

void AssignmentPage::rebuild() {
    rebuildFrom(slot_);
}

void AssignmentPage::rebuildFrom(int recordSlot) {
    const auto shownRecord = recordAt(host_.link().workImage(model_), model_, recordSlot);
    const SlotLabels shown = zav::showRecord(model_, mode_, shownRecord, selector_);
    for (const SlotPlace& where : layout_.slotPlaces) {
        const auto& label = shown[static_cast<std::size_t>(where.slot)];
        setSlotButton(where.slot, label ? QString::fromStdString(*label) : QString());
    }
    if (switch_ != nullptr) {
        switch_->setOn(mossSwitchOn(shownRecord));
    }
    applyVisibility();
    // The record under a shown panel has been replaced: show it there too, above the new buttons.
    if (lstickPanelShown()) {
        lstickPanel_->refresh();
        lstickPanel_->raise();
    }
    update();
}

void AssignmentPage::applyVisibility() {
    const bool keyboard = mode_ == kModeKeyboard;
    keySlots_->showFor(mode_, host_.link().mouseKind());
    palette_->showFor(mode_);
    for (int id : ids::kPaletteGroups) {
        control(id)->setVisible(!keyboard);
    }
    for (int id : {ids::kCaptured, ids::kCurrent, ids::kInputKey, ids::kCaptureOk, ids::kCaptureCancel,
                   layout_.captureNcId, ids::kOnScreenKeyboard}) {
        control(id)->setVisible(keyboard);
    }
    if (switch_ != nullptr) {
        for (int id : {ids::kCaptureFn, ids::kMossSwitch, ids::kPrioritizeHelp, ids::kLStickSettings}) {
            control(id)->setVisible(keyboard);
        }
        // Its captions are keyboard inputs; it closes, unconfirmed, with keyboard mode.
        if (!keyboard) {
            lstickPanel_->hide();
        }
    }
}

void AssignmentPage::resetMode(int mode) {
    ProfileImage& work = host_.link().workImage(model_);
    for (int slot = 0; slot < profileSlotCount(model_); ++slot) {
        resetToDefaults(work, model_, mode, slot);
    }
}

// --- reading the adapter ---------------------------------------------------------------------

void AssignmentPage::readAndShow(int mode, BankRead read, std::function<void(bool arrived)> take,
                                 std::function<void()> done) {
    auto show = [this, take = std::move(take), done = std::move(done)](bool arrived) {
        if (take) {
            take(arrived);
        }
        rebuild();
        done();
    };
    if (read == BankRead::None) {
        show(false);
        return;
    }
    runCovered(
        host_.worker(), *busyCover_,
        [&link = host_.link(), model = model_, mode] { return link.ReadBankImage(model, mode); },
        [this, mode, read, show = std::move(show)](const std::optional<ProfileImage>& image) {
            // Only a read that arrived whole replaces the page, and marks its mode as read.
            if (image) {
                host_.link().workImage(model_) = *image;
                if (read == BankRead::Mode) {
                    host_.link().sendImage(model_) = *image;
                    readFlags_[static_cast<std::size_t>(mode)] = true;
                }
            }
            show(image.has_value());
        });
}

void AssignmentPage::firstRead(std::function<void()> done) {
    if (!host_.connected()) {
        rebuild();
        emit firstReadDone();
        done();
        return;
    }
    readAndShow(
        mode_, BankRead::Mode,
        [this](bool) { host_.link().sendImage(model_) = host_.link().workImage(model_); },
        [this, done = std::move(done)] {
            library_->library().buildList();
            library_->sync();
            emit firstReadDone();
            done();
        });
}

void AssignmentPage::changeMode(int item) {
    const int mode = modeList_->modeForItem(item, capability_);
    endCapture();
    mode_ = mode;
    palette_->setFaces(mode_);
    const QString slotText = slotList_->currentText();
    slot_ = slotText == QLatin1String("ProFile2") ? 1 : slotText == QLatin1String("ProFile3") ? 2 : 0;
    readAndShow(
        mode, host_.link().model() == model_ ? BankRead::Mode : BankRead::None,
        [this, mode](bool arrived) {
            // Without a bank read now, the work page still holds the previous mode's bank: the new
            // mode shows its defaults, whatever was read of it earlier.
            if (!arrived) {
                resetMode(mode);
            }
        },
        [this] {
            library_->library().buildListForModeChange();
            library_->sync();
            emit transferDone();
        });
}

void AssignmentPage::changeSlot(int item) {
    if (!host_.connected()) {
        tell(TextId::ZavNotConnected);
        emit transferDone();
        return;
    }
    clearProfileText();
    slot_ = std::clamp(item, 0, describe(layout_).profileSlots - 1);
    // Another model's adapter holds no records of this page.
    readAndShow(mode_, host_.link().model() == model_ ? BankRead::Slot : BankRead::None, {},
                [this] { emit transferDone(); });
}

void AssignmentPage::takeLoadedRecord(int mode, std::span<const std::uint8_t> loaded) {
    endCapture();
    const std::vector<std::uint8_t> record(loaded.begin(), loaded.end());
    // The file's mode bank comes first: the adapter's, or the defaults without this model's adapter.
    const bool otherMode = mode != mode_;
    readAndShow(
        mode, otherMode && connectedToThisModel() ? BankRead::Mode : BankRead::None,
        [this, mode, otherMode, record](bool arrived) {
            if (otherMode && !arrived) {
                resetMode(mode);
                host_.link().sendImage(model_) = host_.link().workImage(model_);
            }
            // The file's mode with its record in the current slot of the work page as it stands.
            mode_ = mode;
            modeList_->showMode(mode);
            palette_->setFaces(mode_);
            std::copy(record.begin(), record.end(), this->record().begin());
        },
        [this] { emit transferDone(); });
}

void AssignmentPage::resetAndShow(int slot) {
    resetToDefaults(host_.link().workImage(model_), model_, mode_, slot);
    rebuildFrom(slot);
}

void AssignmentPage::collect() {
    zav::collectPage(model_, mode_, keySlots_->labels(), record(), switch_ != nullptr && switch_->on());
    copyToSendImage(model_, mode_, host_.link().model() == model_, host_.link().workImage(model_),
                    host_.link().sendImage(model_));
}

void AssignmentPage::sendStatus() {
    host_.worker().run(
        this, [&link = host_.link()] { return link.SendCommand(cmd::kStatus, 0); }, [](bool) {});
}

// --- status poll, mode list, slot list --------------------------------------------------------------

void AssignmentPage::setPolling(bool on) {
    poll_->setOn(on);
}

bool AssignmentPage::polling() const {
    return poll_->on();
}

void AssignmentPage::mouseKindChanged(MouseKind kind) {
    keySlots_->showMouseOnly(mode_, kind);
    update(qrect(pageArt().mouseArea));
}

void AssignmentPage::setCapability(std::uint8_t capability) {
    capability_ = capability;
}

void AssignmentPage::capabilityStored() {
    fillModeList(host_.language());
    const QSignalBlocker block(slotList_);
    slotList_->setCurrentIndex(0);
}

void AssignmentPage::fillModeList(int language) {
    modeList_->fill(capability_, language, mode_);
}

void AssignmentPage::resetSlotListForConnect() {
    showBlankSlotItem();
    {
        const QSignalBlocker block(slotList_);
        slotList_->setCurrentIndex(0);
    }
    // The page edits the slot the list names.
    if (slot_ != 0) {
        slot_ = 0;
        rebuild();
    }
}

void AssignmentPage::showBlankSlotItem() {
    slotList_->showBlank();
}

void AssignmentPage::clearProfileText() {
    library_->clearText();
}

void AssignmentPage::applyCaptions(int language) {
    for (const Caption& caption : captions()) {
        if (caption.window != model_) {
            continue;
        }
        QWidget* target = control(caption.control);
        const QString t = qstr(text(caption.id, language));
        if (auto* button = qobject_cast<SkinButton*>(target)) {
            button->setText(t);
            button->setLanguage(language);
        } else if (auto* toggle = qobject_cast<ToggleButton*>(target)) {
            toggle->setText(t);
            toggle->setLanguage(language);
        } else if (auto* label = qobject_cast<QLabel*>(target)) {
            label->setText(t);
        }
    }
    for (int id : {ids::kInputKey, ids::kGroupButtons, ids::kGroupSpecial}) {
        if (QWidget* target = control(id)) {
            target->setFont(languageFont(8, language));
        }
    }
    for (SkinComboBox* combo : {modeList(), slotList(), profileList_}) {
        combo->setLanguage(language);
    }
    keySlots_->setLanguage(language);
    if (lstickPanel_ != nullptr) {
        lstickPanel_->setLanguage(language);
    }
    fillModeList(language);
    update();
}

// --- assigning functions ---------------------------------------------------------------------

void AssignmentPage::selectForAssign(int slot) {
    keySlots_->select(slot);
    selectedSlot_ = slot;
}

bool AssignmentPage::assignFunction(MoveButton* button, int target) {
    const QString label = button->label();
    const DropVerdict verdict = dropVerdict(model_, target, label.toStdString(), host_.link().mouseKind());
    if (verdict != DropVerdict::Accept) {
        button->goHome();
        if (verdict == DropVerdict::RefuseFn) {
            tell(TextId::RefuseFn);
        } else if (verdict == DropVerdict::RefuseFixedKey) {
            tell(TextId::RefuseFixedKey);
        }
        return false;
    }
    setSlotButton(target, label);
    button->goHome();
    storeSlotLabel(model_, mode_, target, label.toStdString(), record(), selector_);
    if (target == describe(layout_).dual.slot) {
        storeSlotLabel(model_, mode_, target, label.toStdString(),
                       recordAt(host_.link().sendImage(model_), model_, slot_), selector_);
    }
    update();
    if (host_.connected()) {
        sendStatus();
    }
    return true;
}

void AssignmentPage::storeDualSlot(const QString& label) {
    storeSlotLabel(model_, mode_, describe(layout_).dual.slot, label.toStdString(), record(), selector_);
    storeSlotLabel(model_, mode_, describe(layout_).dual.slot, label.toStdString(),
                   recordAt(host_.link().sendImage(model_), model_, slot_), selector_);
}

void AssignmentPage::selectStick(StickSelector selector) {
    selector_ = selector;
    dpad_->setOn(selector == StickSelector::DPad);
    lstick_->setOn(selector == StickSelector::LStick);
    // Slot 22 shows the code of the chosen index; that code is written back to both pages.
    const SlotLabels shown = zav::showRecord(model_, mode_, record(), selector_);
    const auto& label = shown[describe(layout_).dual.slot];
    const QString text = label ? QString::fromStdString(*label) : QString();
    setSlotButton(describe(layout_).dual.slot, text);
    storeDualSlot(text);
    applyVisibility();
}

// --- key capture -----------------------------------------------------------------------------

bool AssignmentPage::lstickPanelShown() const {
    return lstickPanel_ != nullptr && lstickPanel_->isVisibleTo(this);
}

void AssignmentPage::onSlotClicked(MoveButton* button, bool byKey) {
    if (mode_ != kModeKeyboard) {
        // A second click on the selected slot lets it go; a slot nothing can be dropped on is never selected.
        if (isDropTarget(model_, button->slot())) {
            selectForAssign(button->slot() == selectedSlot_ ? 0 : button->slot());
        }
        return;
    }
    // While the left-stick panel is shown only its direction buttons are chosen.
    if (lstickPanelShown()) {
        return;
    }
    button->setSelected(true);
    button->setCaptureLook(true);
    selectedSlot_ = button->slot();
    startCapture();
    capture_->setOneKey(byKey);
}

void AssignmentPage::openOnScreenKeyboard() {
    if (!startOnScreenKeyboard()) {
        tell(TextId::NoOnScreenKeyboard);
    }
}

void AssignmentPage::startCapture() {
    MoveButton* button = slotButton(selectedSlot_);
    if (button == nullptr) {
        return;
    }
    capture_->start();
    captureSlot_ = selectedSlot_;
    slotCurrent_->setText(button->label());
    // A new capture starts empty: OK before any input changes nothing.
    setCaptured(QString());
}

void AssignmentPage::setCaptured(const QString& label) {
    captured_->setText(label);
}

void AssignmentPage::endCapture() {
    capture_->stop();
    selectForAssign(0);
    if (lstickPanel_ != nullptr) {
        lstickPanel_->captureCancel();
    }
}

void AssignmentPage::captureOk() {
    if (lstickPanelShown()) {
        lstickPanel_->captureOk(captured_->text());
        return;
    }
    if (selectedSlot_ == 0) {
        return;
    }
    const int slot = captureSlot_;
    const QString shown = captured_->text();
    if (shown.isEmpty()) {
        endCapture();
        return;
    }
    // "Fn" goes only where its own button may put it.
    if (shown == qstr(kLabelFn) && !fnCapturable(slot)) {
        tell(TextId::RefuseFn);
        return;
    }
    endCapture();
    setSlotButton(slot, shown);
    if (describe(layout_).dual.slot != 0) {
        storeDualSlot(slotLabel(describe(layout_).dual.slot));
    }
    applyVisibility();
}

void AssignmentPage::captureCancel() {
    if (lstickPanelShown()) {
        lstickPanel_->captureCancel();
        return;
    }
    if (selectedSlot_ != 0) {
        endCapture();
    }
}

bool AssignmentPage::fnCapturable(int slot) const {
    return describe(layout_).keyboardFn && slot == describe(layout_).fnSlot;
}

void AssignmentPage::captureFn() {
    if (fnCapturable(selectedSlot_)) {
        captured_->setText(qstr(kLabelFn));
    } else {
        tell(TextId::RefuseFn);
    }
}

void AssignmentPage::keyPressEvent(QKeyEvent* event) {
    if (!capture_->active() || capture_->keysFree()) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (const auto label = labelForKeyEvent(*event)) {
        setCaptured(QString::fromStdString(*label));
    }
}

// --- messages and painting -------------------------------------------------------------------

void AssignmentPage::tell(TextId id) {
    SkinMessageBox box(id, MessageBoxKind::OkOnly, host_.language(), this);
    box.exec();
}

bool AssignmentPage::ask(TextId id) {
    SkinMessageBox box(id, MessageBoxKind::YesNo, host_.language(), this);
    return box.exec() == IDOK;
}

void AssignmentPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPage(painter, rect(), layout_,
              {host_.language(), mode_, connectedToThisModel(), host_.link().mouseKind(),
               host_.link().ordinaryMouseSeen()});
}

} // namespace zav
