#include "pages/AssignmentPage.h"

#include "controls/FramedLabel.h"
#include "controls/QtText.h"
#include "controls/Skin.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinMessageBox.h"
#include "controls/ToggleButton.h"
#include "device/BackupStore.h"
#include "device/BankSetFile.h"
#include "device/DeviceWorker.h"
#include "pages/CaptureTable.h"
#include "pages/DropRules.h"
#include "pages/KeyTables.h"
#include "pages/LeftStickPanel.h"
#include "pages/MoveButton.h"
#include "pages/OnScreenKeyboard.h"
#include "pages/PageHost.h"
#include "pages/Pictures.h"
#include "pages/VirtualKey.h"
#include "profiles/AdapterBanks.h"
#include "profiles/AdapterTransfer.h"
#include "profiles/LibraryPage.h"
#include "profiles/ProfileLibrary.h"
#include "profiles/ProfileRecord.h"
#include "profiles/Prompter.h"
#include "settings/AccelerationDialog.h"
#include "settings/ButtonOptionsDialog.h"
#include "settings/DeadZoneDialog.h"
#include "settings/SensitivityDialog.h"
#include "settings/SettingsTarget.h"
#include "text/Texts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QStandardPaths>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <tuple>
#include <vector>

namespace zav {

namespace {

// The mouse pictures and the "Mouse not Connected!" text below them.
constexpr QRect kMouseArea(692, 220, 236, 372);
constexpr QColor kFrame(136, 45, 45);
constexpr int kCaptureOk = 1089;
constexpr int kCaptureCancel = 1088;
constexpr int kScKbd = 1160;
constexpr int kCaptureFn = 1151;
constexpr int kMossSwitch = 1152;
constexpr int kInputKey = 1090;
constexpr int kDPadButton = 1137;
constexpr int kLStickButton = 1141;

QRect qrect(const Box& b) {
    return QRect(b.x, b.y, b.w, b.h);
}

// Red text on whatever lies behind: a palette rather than a style sheet, which would cost each of
// the many labels a style of its own.
QPalette redTextPalette(QPalette palette) {
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(role, skin::kRed);
    }
    return palette;
}

// Draws `text` centred on one line at the bottom of `box`.
void drawBottomCentred(QPainter& p, const Box& box, const QString& text) {
    p.drawText(qrect(box), Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine, text);
}

// The profile-slot list drops its blank item " " when it is opened: the blank only says that the record
// shown is not an adapter slot's.
class SlotList : public SkinComboBox {
public:
    using SkinComboBox::SkinComboBox;
    void showPopup() override {
        if (const int blank = findText(QStringLiteral(" ")); blank >= 0) {
            const QSignalBlocker block(this);
            setCurrentIndex(0);
            removeItem(blank);
        }
        SkinComboBox::showPopup();
    }
};

// While the page waits for the adapter it takes no input. The busy cursor comes only when the wait
// lasts: an ordinary transfer is over before it would show, and does not make the cursor flicker.
class BusyCover : public QWidget {
public:
    explicit BusyCover(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("busyCover"));
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::StrongFocus);
        cursorDelay_.setSingleShot(true);
        cursorDelay_.setInterval(AssignmentPage::kBusyCursorDelayMs);
        connect(&cursorDelay_, &QTimer::timeout, this, [this] { setCursor(Qt::BusyCursor); });
        hide();
    }

protected:
    void showEvent(QShowEvent*) override { cursorDelay_.start(); }
    void hideEvent(QHideEvent*) override {
        cursorDelay_.stop();
        unsetCursor();
    }
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
    void wheelEvent(QWheelEvent* e) override { e->accept(); }
    void keyPressEvent(QKeyEvent* e) override { e->accept(); }

private:
    QTimer cursorDelay_;
};

} // namespace

// What the profile library sees of the page: its record and mode, and the message box.
class AssignmentPage::Binding : public LibraryPage, public Prompter {
public:
    explicit Binding(AssignmentPage& page) : page_(page) {}
    int model() const override { return page_.model_; }
    int mode() const override { return page_.mode_; }
    int slot() const override { return page_.slot_; }
    std::span<std::uint8_t> record(int slot) override {
        return recordAt(page_.host_.link().workImage(page_.model_), page_.model_,
                        page_.model_ == models::kMoss ? 0 : slot);
    }
    void collect() override { page_.collect(); }
    void resetAndShow(int slot) override { page_.resetAndShow(slot); }
    void takeLoadedRecord(int mode, std::span<const std::uint8_t> loaded) override {
        page_.takeLoadedRecord(mode, loaded);
    }
    bool connected() const override { return page_.host_.connected(); }
    void showBlankSlotItem() override { page_.showBlankSlotItem(); }
    void sendStatus() override { page_.sendStatus(); }
    void tell(TextId id) override { page_.tell(id); }
    bool ask(TextId id) override { return page_.ask(id); }

private:
    AssignmentPage& page_;
};

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
    ProfileImage& work = host_.link().workImage(model_);
    for (int slot = 0; slot < 3; ++slot) {
        resetToDefaults(work, model_, 0, slot);
    }
    host_.link().sendImage(model_) = work;
    setPaletteFaces();
    rebuild();

    binding_ = std::make_unique<Binding>(*this);
    library_ =
        std::make_unique<ProfileLibrary>(documentsFolder().toStdString(), *binding_, profiles_, *binding_);
    library_->buildListForStart();
    syncProfileList();

    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &AssignmentPage::poll);

    busyCover_ = new BusyCover(this);

    const QList<QWidget*> chain = tabChain();
    for (qsizetype i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

QList<QWidget*> AssignmentPage::tabChain() const {
    struct Stop {
        int column;
        int top;
        int order;
        QWidget* widget;
    };
    // The frames of the profile and palette column and of the mouse settings split the page.
    const auto columnOf = [](const QRect& r) {
        const int centre = r.center().x();
        return centre < 409 ? 0 : centre < 690 ? 1 : 2;
    };
    std::vector<Stop> stops;
    std::array<int, 3> slotsTop{INT_MAX, INT_MAX, INT_MAX};
    for (const auto& button : slotButtons_) {
        if (button != nullptr) {
            const int column = columnOf(button->geometry());
            slotsTop[static_cast<std::size_t>(column)] =
                std::min(slotsTop[static_cast<std::size_t>(column)], button->geometry().y());
        }
    }
    for (const auto& button : slotButtons_) {
        if (button != nullptr) {
            const int column = columnOf(button->geometry());
            stops.push_back(
                {column, slotsTop[static_cast<std::size_t>(column)], button->slot(), button.data()});
        }
    }
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if ((child->focusPolicy() & Qt::TabFocus) != 0 && qobject_cast<MoveButton*>(child) == nullptr &&
            child != busyCover_) {
            stops.push_back({columnOf(child->geometry()), child->y(), child->x(), child});
        }
    }
    for (const auto& [id, button] : palette_) {
        stops.push_back({columnOf(button->geometry()), button->y(), button->x(), button});
    }
    std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) {
        return std::tie(a.column, a.top, a.order) < std::tie(b.column, b.top, b.order);
    });
    QList<QWidget*> chain;
    for (const Stop& stop : stops) {
        chain.append(stop.widget);
    }
    return chain;
}

AssignmentPage::~AssignmentPage() {
    library_.reset();
    if (captureOn_) {
        qApp->removeEventFilter(this);
    }
}

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

QLabel* AssignmentPage::addCaption(int id, const QString& caption, double points) {
    auto* label = new QLabel(caption, this);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setPalette(redTextPalette(label->palette()));
    label->setFont(skinFont(FontFace::Arial, points, 0));
    place(label, id);
    return label;
}

void AssignmentPage::buildControls() {
    // Slot statics mark where each key is; the slot buttons stand exactly over them.
    for (const SlotPlace& where : layout_.slotPlaces) {
        auto* marker = new QLabel(QString::number(where.slot), this);
        marker->setObjectName(QString::number(where.staticId));
        marker->setGeometry(qrect(where.box));
        marker->setAlignment(Qt::AlignCenter);
        marker->setPalette(redTextPalette(marker->palette()));
        statics_[static_cast<std::size_t>(where.slot)] = marker;
    }

    for (const PaletteKey& key : layout_.palette) {
        auto* button = new MoveButton(key.id, qstr(key.playstation), this);
        button->setGeometry(qrect(key.box));
        connect(button, &MoveButton::dropped, this, &AssignmentPage::onDrop);
        connect(button, &MoveButton::picked, this, &AssignmentPage::onPicked);
        palette_[key.id] = button;
    }

    modeList_ = new SkinComboBox(this);
    place(modeList_, kModeList);
    modeList_->setEditable(true);
    modeList_->lineEdit()->setReadOnly(true);
    fillModeList(0);
    connect(modeList_, &QComboBox::activated, this, &AssignmentPage::changeMode);

    slotList_ = new SlotList(this);
    place(slotList_, kSlotList);
    slotList_->setEditable(true);
    slotList_->lineEdit()->setReadOnly(true);
    for (std::string_view item : profileSlotTexts(model_)) {
        slotList_->addItem(qstr(item));
    }
    slotList_->setCurrentIndex(0);
    connect(slotList_, &QComboBox::activated, this, &AssignmentPage::changeSlot);

    profileList_ = new SkinComboBox(this);
    place(profileList_, kProfileList);
    profileList_->setEditable(true);
    // Only an item chosen in the open list loads: typing a name, leaving the field or an arrow key
    // never loads a profile over the page.
    connect(profileList_, &SkinComboBox::chosen, this, [this](int index) {
        profiles_.select(index);
        runLibrary(&ProfileLibrary::loadSelected);
    });
    connect(profileList_->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& typed) { profiles_.setText(typed.toStdString()); });

    connect(addButton(1138, TextId::CaptionButtonOptions), &QPushButton::clicked, this, [this] {
        ButtonOptionsDialog dlg(settingsTarget(), this);
        dlg.exec();
    });
    connect(addButton(1142, QStringLiteral("?")), &QPushButton::clicked, this,
            [this] { tell(switchHelp(model_)); });
    connect(addButton(1135, TextId::CaptionSensitivity), &QPushButton::clicked, this, [this] {
        SensitivityDialog dlg(settingsTarget(), this);
        dlg.exec();
    });
    connect(addButton(1133, TextId::CaptionAcceleration), &QPushButton::clicked, this, [this] {
        AccelerationDialog dlg(settingsTarget(), this);
        dlg.exec();
    });
    connect(addButton(1132, model_ == 1 ? TextId::CaptionDeadZoneKite : TextId::CaptionDeadZone),
            &QPushButton::clicked, this, [this] {
                DeadZoneDialog dlg(settingsTarget(), this);
                dlg.exec();
            });
    SkinButton* writeButton = addButton(1007, TextId::CaptionWrite);
    connect(writeButton, &QPushButton::clicked, this, &AssignmentPage::write);
    writeButton->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(writeButton, &QWidget::customContextMenuRequested, this,
            [this, writeButton](QPoint at) { showWriteMenu(writeButton->mapToGlobal(at)); });
    connect(addButton(1139, TextId::CaptionNew), &QPushButton::clicked, this,
            [this] { runLibrary(&ProfileLibrary::newProfile); });
    connect(addButton(1140, TextId::CaptionCopy), &QPushButton::clicked, this,
            [this] { runLibrary(&ProfileLibrary::copyProfile); });
    connect(addButton(1004, TextId::CaptionSave), &QPushButton::clicked, this,
            [this] { runLibrary(&ProfileLibrary::saveProfile); });
    connect(addButton(1006, TextId::CaptionDefault), &QPushButton::clicked, this,
            [this] { runLibrary(&ProfileLibrary::resetProfile); });
    connect(addButton(1124, TextId::CaptionDelete), &QPushButton::clicked, this,
            [this] { runLibrary(&ProfileLibrary::deleteProfile); });
    connect(addButton(1161, QStringLiteral("?")), &QPushButton::clicked, this,
            [this] { tell(paletteHelp(model_, mode_)); });
    connect(addButton(kScKbd, TextId::CaptionOnScreenKeyboard), &QPushButton::clicked, this,
            &AssignmentPage::openOnScreenKeyboard);
    connect(addButton(1144, QStringLiteral("?")), &QPushButton::clicked, this,
            [this] { tell(TextId::ProfileHelp); });
    connect(addButton(kCaptureOk, TextId::ButtonOk), &QPushButton::clicked, this, &AssignmentPage::captureOk);
    connect(addButton(kCaptureCancel, TextId::CaptionCancel), &QPushButton::clicked, this,
            &AssignmentPage::captureCancel);
    connect(addButton(layout_.captureNcId, TextId::CaptionNc), &QPushButton::clicked, this,
            [this] { captured_->setText(qstr(kLabelNoFunction)); });

    captured_ = new FramedLabel(this);
    place(captured_, 1148);
    slotCurrent_ = new FramedLabel(this);
    place(slotCurrent_, 1149);
    addCaption(kInputKey, qstr(text(TextId::CaptionInputKey, 0)), 11);
    addCaption(1174, qstr(text(TextId::CaptionVersion, 0)), 8);
    addCaption(1155, qstr(text(TextId::GroupButtons, 0)), 8.5);
    addCaption(1156, qstr(text(TextId::GroupDPad, 0)), 8.5);
    addCaption(1157, qstr(text(TextId::GroupLStick, 0)), 8.5);
    addCaption(1158, qstr(text(TextId::GroupSpecial, 0)), 8.5);

    if (layout_.stickSelector) {
        dpad_ = new ToggleButton(kDPadButton, qstr(text(TextId::CaptionDPad, 0)), this);
        dpad_->setPress(ToggleButton::Press::StaysOn);
        place(dpad_, kDPadButton);
        dpad_->setOn(true);
        lstick_ = new ToggleButton(kLStickButton, qstr(text(TextId::CaptionLStick, 0)), this);
        place(lstick_, kLStickButton);
        connect(dpad_, &ToggleButton::clicked, this, [this] { selectStick(StickSelector::DPad); });
        connect(lstick_, &ToggleButton::clicked, this, [this] { selectStick(StickSelector::LStick); });
    }
    if (model_ == models::kMoss) {
        connect(addButton(kCaptureFn, TextId::CaptionFn), &QPushButton::clicked, this,
                &AssignmentPage::captureFn);
        switch_ = new ToggleButton(kMossSwitch, qstr(text(TextId::SwitchOff, 0)), this);
        switch_->setShowsState(true);
        place(switch_, kMossSwitch);
        connect(addButton(1185, QStringLiteral("?")), &QPushButton::clicked, this,
                [this] { tell(TextId::PrioritizeHelp); });
        lstickPanel_ = new LeftStickPanel(*this);
        connect(addButton(1137, TextId::CaptionLStickSettings), &QPushButton::clicked, lstickPanel_,
                &LeftStickPanel::popUp);
    }
}

QWidget* AssignmentPage::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

MoveButton* AssignmentPage::paletteButton(int id) const {
    const auto it = palette_.find(id);
    return it == palette_.end() ? nullptr : it->second;
}

MoveButton* AssignmentPage::slotButton(int slot) const {
    return slot >= 1 && slot < kSlotArraySize ? slotButtons_[static_cast<std::size_t>(slot)].data() : nullptr;
}

QString AssignmentPage::slotLabel(int slot) const {
    if (slot < 1 || slot >= kSlotArraySize || !labels_[static_cast<std::size_t>(slot)]) {
        return {};
    }
    return QString::fromStdString(*labels_[static_cast<std::size_t>(slot)]);
}

QString AssignmentPage::capturedText() const {
    return captured_->text();
}

std::span<std::uint8_t> AssignmentPage::record() {
    return recordAt(host_.link().workImage(model_), model_, model_ == models::kMoss ? 0 : slot_);
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

// --- slot buttons ----------------------------------------------------------------------------

void AssignmentPage::setSlotButton(int slot, const QString& label) {
    const SlotPlace* where = slotPlace(model_, slot);
    if (where == nullptr) {
        return;
    }
    auto* button = new MoveButton(kSlotButtonControlId, label, this);
    button->makeSlotButton(slot);
    button->setAccessibleName(slotName(slot, button->shownLabel(), host_.language()));
    button->setGeometry(qrect(where->box));
    connect(button, &MoveButton::slotClicked, this, &AssignmentPage::onSlotClicked);
    const auto index = static_cast<std::size_t>(slot);
    if (MoveButton* old = slotButtons_[index]) {
        button->setVisible(old->isVisible());
        // The new button takes the old one's place in the Tab order, its selection and its focus.
        setTabOrder(old, button);
        if (old->selected()) {
            button->setSelected(true);
            button->setCaptureLook(true);
        }
        if (window()->focusWidget() == old) {
            button->show();
            button->setFocus(Qt::OtherFocusReason);
        }
        // Out of sight and out of the Tab order at once: it may be the sender still being served.
        old->hide();
        old->setFocusPolicy(Qt::NoFocus);
        old->deleteLater();
    }
    slotButtons_[index] = button;
    labels_[index] = label.toStdString();
    button->show();
}

QString AssignmentPage::slotName(int slot, const QString& shownLabel, int language) {
    QString name = qstr(text(TextId::KeySlotName, language));
    if (shownLabel.isEmpty()) {
        // No function: the number alone, without the separator.
        name = name.left(name.indexOf(QLatin1String("%2")));
        while (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char(':'))) {
            name.chop(1);
        }
        return name.arg(slot);
    }
    return name.arg(slot).arg(shownLabel);
}

void AssignmentPage::rebuild() {
    rebuildFrom(slot_);
}

void AssignmentPage::rebuildFrom(int recordSlot) {
    const auto shownRecord =
        recordAt(host_.link().workImage(model_), model_, model_ == models::kMoss ? 0 : recordSlot);
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
    for (const SlotPlace& where : layout_.slotPlaces) {
        bool shown = slotShownInMode(model_, mode_, where.slot);
        if (isMouseOnlySlot(model_, where.slot) && host_.link().mouseKind() == MouseKind::Ordinary) {
            shown = false;
        }
        const auto index = static_cast<std::size_t>(where.slot);
        statics_[index]->setVisible(shown);
        if (MoveButton* button = slotButtons_[index]) {
            button->setVisible(shown);
        }
    }
    for (const PaletteKey& key : layout_.palette) {
        bool shown = !keyboard;
        if (key.diagonal && model_ == models::kMoss) {
            shown = false;
        }
        if (key.touchPad && mode_ != kModePs4) {
            shown = false;
        }
        palette_[key.id]->setVisible(shown);
    }
    for (int id : {1155, 1156, 1157, 1158}) {
        control(id)->setVisible(!keyboard);
    }
    for (int id : {1148, 1149, kInputKey, kCaptureOk, kCaptureCancel, layout_.captureNcId, kScKbd}) {
        control(id)->setVisible(keyboard);
    }
    if (model_ == models::kMoss) {
        for (int id : {kCaptureFn, kMossSwitch, 1185, 1137}) {
            control(id)->setVisible(keyboard);
        }
        // Its captions are keyboard inputs; it closes, unconfirmed, with keyboard mode.
        if (!keyboard) {
            lstickPanel_->hide();
        }
    }
}

void AssignmentPage::showMouseOnlySlots(MouseKind kind) {
    if (kind == MouseKind::None) {
        return;
    }
    for (int slot : layout_.rules.mouseOnly) {
        if (slot == 0) {
            continue;
        }
        const bool shown = kind == MouseKind::Own && slotShownInMode(model_, mode_, slot);
        statics_[static_cast<std::size_t>(slot)]->setVisible(shown);
        if (MoveButton* button = slotButton(slot)) {
            button->setVisible(shown);
        }
    }
}

void AssignmentPage::setPaletteFaces() {
    for (const PaletteKey& key : layout_.palette) {
        palette_[key.id]->setLabel(qstr(mode_ == kModePcPad ? key.pcPad : key.playstation));
    }
}

// --- connect pass and poll -------------------------------------------------------------------

template <typename Job, typename Done>
void AssignmentPage::runTransfer(Job job, Done done) {
    setBusy(true);
    host_.worker().run(this, std::move(job), [this, done = std::move(done)](auto&&... result) mutable {
        setBusy(false);
        done(std::forward<decltype(result)>(result)...);
    });
}

void AssignmentPage::firstRead(std::function<void()> done) {
    if (!host_.connected()) {
        rebuild();
        emit firstReadDone();
        done();
        return;
    }
    const int mode = mode_;
    runTransfer([&link = host_.link(), model = model_, mode] { return link.ReadBankImage(model, mode); },
                [this, mode, done = std::move(done)](const std::optional<ProfileImage>& image) {
                    // Only a read that arrived whole replaces the page and marks the mode as read.
                    if (image) {
                        host_.link().workImage(model_) = *image;
                        readFlags_[static_cast<std::size_t>(mode)] = true;
                    }
                    host_.link().sendImage(model_) = host_.link().workImage(model_);
                    rebuild();
                    library_->buildList();
                    syncProfileList();
                    emit firstReadDone();
                    done();
                });
}

void AssignmentPage::setPolling(bool on) {
    if (on) {
        if (!poll_.isActive()) {
            poll_.start();
        }
    } else {
        poll_.stop();
    }
}

void AssignmentPage::poll() {
    if (!host_.connected()) {
        update(kMouseArea);
        poll_.stop();
        emit pollDone();
        return;
    }
    // A tick that finds the adapter still busy is skipped rather than queued.
    if (polling_ || host_.worker().busy()) {
        return;
    }
    polling_ = true;
    host_.worker().run(
        this, [&link = host_.link()] { return link.PollStatus(0); },
        [this](StatusPoll result) {
            polling_ = false;
            // Told against what the pages show, not against the poll before: another exchange
            // (the identification) may have classified the mouse in between.
            if (result.ok) {
                host_.reportMouseKind(result.after);
            }
            emit pollDone();
        });
}

void AssignmentPage::mouseKindChanged(MouseKind kind) {
    lastMouse_ = kind;
    showMouseOnlySlots(kind);
    update(kMouseArea);
}

void AssignmentPage::setCapability(std::uint8_t capability) {
    capability_ = capability;
}

void AssignmentPage::capabilityStored() {
    fillModeList(host_.language());
    const QSignalBlocker block(slotList_);
    slotList_->setCurrentIndex(0);
}

int AssignmentPage::modeForItem(int item) const {
    if (model_ == models::kMoss && item == 2) {
        return capability_ >= 5 ? kModeKeyboard : kModePcPad;
    }
    return item;
}

int AssignmentPage::itemForMode(int mode) const {
    if (model_ == models::kMoss && mode >= 2) {
        return 2;
    }
    return mode;
}

void AssignmentPage::fillModeList(int language) {
    const QSignalBlocker block(modeList_);
    modeList_->clear();
    for (std::string_view item : modeListTexts(model_, capability_, language)) {
        modeList_->addItem(qstr(item));
    }
    modeList_->setCurrentIndex(std::clamp(itemForMode(mode_), 0, modeList_->count() - 1));
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

void AssignmentPage::clearProfileText() {
    profiles_.setText(std::string());
    profileList_->setEditText(QString());
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
    for (int id : {kInputKey, 1155, 1158}) {
        if (QWidget* target = control(id)) {
            target->setFont(languageFont(8, language));
        }
    }
    for (SkinComboBox* combo : {modeList_, slotList_, profileList_}) {
        combo->setLanguage(language);
    }
    for (const auto& button : slotButtons_) {
        if (button != nullptr) {
            button->setAccessibleName(slotName(button->slot(), button->shownLabel(), language));
        }
    }
    if (lstickPanel_ != nullptr) {
        lstickPanel_->setLanguage(language);
    }
    fillModeList(language);
    update();
}

// --- mode and slot ---------------------------------------------------------------------------

void AssignmentPage::changeMode(int item) {
    const int mode = modeForItem(item);
    endCapture();
    mode_ = mode;
    setPaletteFaces();
    const QString slotText = slotList_->currentText();
    slot_ = slotText == QLatin1String("ProFile2") ? 1 : slotText == QLatin1String("ProFile3") ? 2 : 0;

    auto show = [this, mode](bool read) {
        // Without a bank read now, the work page still holds the previous mode's bank: the new
        // mode shows its defaults, whatever was read of it earlier.
        if (!read) {
            ProfileImage& work = host_.link().workImage(model_);
            for (int slot = 0; slot < (model_ == models::kMoss ? 1 : 3); ++slot) {
                resetToDefaults(work, model_, mode, slot);
            }
        }
        rebuild();
        library_->buildListForModeChange();
        syncProfileList();
        emit transferDone();
    };
    if (host_.link().model() != model_) {
        show(false);
        return;
    }
    runTransfer([&link = host_.link(), model = model_, mode] { return link.ReadBankImage(model, mode); },
                [this, mode, show](const std::optional<ProfileImage>& image) {
                    if (image) {
                        host_.link().workImage(model_) = *image;
                        readFlags_[static_cast<std::size_t>(mode)] = true;
                        host_.link().sendImage(model_) = host_.link().workImage(model_);
                    }
                    show(image.has_value());
                });
}

void AssignmentPage::changeSlot(int item) {
    if (!host_.connected()) {
        tell(TextId::ZavNotConnected);
        emit transferDone();
        return;
    }
    clearProfileText();
    slot_ = model_ == models::kMoss ? 0 : std::clamp(item, 0, 2);
    // Another model's adapter holds no records of this page.
    if (host_.link().model() != model_) {
        rebuild();
        emit transferDone();
        return;
    }
    const int mode = mode_;
    runTransfer([&link = host_.link(), model = model_, mode] { return link.ReadBankImage(model, mode); },
                [this](const std::optional<ProfileImage>& image) {
                    if (image) {
                        host_.link().workImage(model_) = *image;
                    }
                    rebuild();
                    emit transferDone();
                });
}

// --- drag and drop ---------------------------------------------------------------------------

void AssignmentPage::onDrop(MoveButton* button, QPoint global) {
    const QPoint at = mapFromGlobal(global);
    int target = 0;
    for (int slot = 1; slot <= 31 && target == 0; ++slot) {
        const SlotPlace* where = slotPlace(model_, slot);
        if (isDropTarget(model_, slot) && where != nullptr && where->box.contains(at.x(), at.y())) {
            target = slot;
        }
    }
    if (target == 0) {
        button->goHome();
        return;
    }
    assignFunction(button, target);
}

void AssignmentPage::onPicked(MoveButton* button) {
    if (mode_ == kModeKeyboard || selectedSlot_ == 0) {
        return;
    }
    // A refused function leaves the slot selected for another choice.
    if (assignFunction(button, selectedSlot_)) {
        selectForAssign(0);
    }
}

void AssignmentPage::selectForAssign(int slot) {
    for (const auto& button : slotButtons_) {
        if (button != nullptr && button->selected() != (button->slot() == slot)) {
            button->setSelected(button->slot() == slot);
            button->setCaptureLook(button->slot() == slot);
        }
    }
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
    if (model_ == models::kKite && target == kKiteDualSlot) {
        storeSlotLabel(model_, mode_, target, label.toStdString(),
                       recordAt(host_.link().sendImage(model_), model_, slot_), selector_);
    }
    update();
    if (host_.connected()) {
        sendStatus();
    }
    return true;
}

void AssignmentPage::selectStick(StickSelector selector) {
    selector_ = selector;
    dpad_->setOn(selector == StickSelector::DPad);
    lstick_->setOn(selector == StickSelector::LStick);
    // Slot 22 shows the code of the chosen index; that code is written back to both pages.
    const SlotLabels shown = zav::showRecord(model_, mode_, record(), selector_);
    const auto& label = shown[kKiteDualSlot];
    const QString text = label ? QString::fromStdString(*label) : QString();
    setSlotButton(kKiteDualSlot, text);
    storeSlotLabel(model_, mode_, kKiteDualSlot, text.toStdString(), record(), selector_);
    storeSlotLabel(model_, mode_, kKiteDualSlot, text.toStdString(),
                   recordAt(host_.link().sendImage(model_), model_, slot_), selector_);
    applyVisibility();
}

// --- buttons ---------------------------------------------------------------------------------

SettingsTarget AssignmentPage::settingsTarget() {
    return SettingsTarget{model_, slot_, host_.link(), host_.worker(), host_.language()};
}

void AssignmentPage::collect() {
    zav::collectPage(model_, mode_, labels_, record(), switch_ != nullptr && switch_->on());
    copyToSendImage(model_, mode_, host_.link().model() == model_, host_.link().workImage(model_),
                    host_.link().sendImage(model_));
}

void AssignmentPage::sendStatus() {
    host_.worker().run(
        this, [&link = host_.link()] { return link.SendCommand(cmd::kStatus, 0); }, [](bool) {});
}

void AssignmentPage::resetAndShow(int slot) {
    resetToDefaults(host_.link().workImage(model_), model_, mode_, model_ == models::kMoss ? 0 : slot);
    rebuildFrom(slot);
}

void AssignmentPage::takeLoadedRecord(int mode, std::span<const std::uint8_t> loaded) {
    endCapture();
    const std::vector<std::uint8_t> record(loaded.begin(), loaded.end());
    // Shows the file's mode with `record` in the current slot of the work page as it stands.
    auto take = [this, mode, record] {
        mode_ = mode;
        {
            const QSignalBlocker block(modeList_);
            modeList_->setCurrentIndex(itemForMode(mode));
        }
        setPaletteFaces();
        std::copy(record.begin(), record.end(), this->record().begin());
        rebuild();
        emit transferDone();
    };
    if (mode == mode_) {
        take();
        return;
    }
    // The file's mode bank comes first: the adapter's, or the defaults without this model's adapter.
    auto defaultsOf = [this, mode] {
        ProfileImage& work = host_.link().workImage(model_);
        for (int slot = 0; slot < (model_ == models::kMoss ? 1 : 3); ++slot) {
            resetToDefaults(work, model_, mode, slot);
        }
        host_.link().sendImage(model_) = work;
    };
    if (!connectedToThisModel()) {
        defaultsOf();
        take();
        return;
    }
    runTransfer([&link = host_.link(), model = model_, mode] { return link.ReadBankImage(model, mode); },
                [this, mode, take, defaultsOf](const std::optional<ProfileImage>& image) {
                    if (image) {
                        host_.link().workImage(model_) = *image;
                        host_.link().sendImage(model_) = *image;
                        readFlags_[static_cast<std::size_t>(mode)] = true;
                    } else {
                        defaultsOf();
                    }
                    take();
                });
}

void AssignmentPage::showBlankSlotItem() {
    const QSignalBlocker block(slotList_);
    const QString blank = QStringLiteral(" ");
    if (slotList_->findText(blank) < 0) {
        slotList_->insertItem(3, blank);
    }
    slotList_->setCurrentIndex(slotList_->findText(blank));
}

void AssignmentPage::runLibrary(void (ProfileLibrary::*operation)()) {
    // The list shows mended names; the library acts on the file system's own bytes.
    profiles_.setShownText(profileList_->currentText().toStdString());
    ((*library_).*operation)();
    syncProfileList();
}

void AssignmentPage::syncProfileList() {
    const QSignalBlocker block(profileList_);
    profileList_->clear();
    for (const std::string& name : profiles_.items()) {
        profileList_->addItem(QString::fromStdString(ProfileListModel::shownName(name)));
    }
    profileList_->setCurrentIndex(profiles_.selected());
    profileList_->setEditText(QString::fromStdString(ProfileListModel::shownName(profiles_.text())));
}

void AssignmentPage::write() {
    if (!host_.connected()) {
        tell(TextId::ZavNotConnected);
        emit transferDone();
        return;
    }
    // A profile loaded from another model's file is never written into this model's adapter.
    if (host_.link().model() != model_ ||
        (library_->loadedFileModel() != model_ && !profileList_->currentText().isEmpty())) {
        tell(TextId::OverwriteError);
        emit transferDone();
        return;
    }
    collect();
    // The job writes this copy: what the window does to the pages meanwhile never reaches it.
    const ProfileImage image = host_.link().sendImage(model_);
    const auto checked = static_cast<std::size_t>(recordBytesInBank(model_));
    runTransfer(
        [&link = host_.link(), &store = host_.backups(), model = model_, mode = mode_, image, checked] {
            // The status frame goes first, as it always has; the mouse is left to the poll.
            link.SendCommand(cmd::kStatus, 0);
            // What the adapter holds is kept first; when it cannot be read, nothing is written.
            return writeKeepingBackup(link, store, model, mode, image, checked);
        },
        [this](WriteOutcome outcome) {
            switch (outcome) {
            case WriteOutcome::Complete:
                tell(TextId::WriteComplete);
                break;
            case WriteOutcome::ReadBackFailed:
                tell(TextId::WriteUnconfirmed);
                break;
            default:
                tell(TextId::OverwriteError);
                break;
            }
            emit transferDone();
        });
}

void AssignmentPage::showWriteMenu(QPoint global) {
    if (busy()) {
        return;
    }
    QMenu menu(this);
    QAction* restore = menu.addAction(qstr(text(TextId::RestoreBeforeLastWrite, host_.language())));
    if (menu.exec(global) == restore) {
        restoreLastWrite();
    }
}

void AssignmentPage::restoreLastWrite() {
    if (!host_.connected()) {
        tell(TextId::ZavNotConnected);
        emit transferDone();
        return;
    }
    if (host_.link().model() != model_) {
        tell(TextId::OverwriteError);
        emit transferDone();
        return;
    }
    const std::optional<std::filesystem::path> latest = host_.backups().latest(model_);
    if (!latest) {
        tell(TextId::NothingKept);
        emit transferDone();
        return;
    }
    if (!ask(TextId::RestoreQuestion)) {
        emit transferDone();
        return;
    }
    struct Restored {
        std::vector<BankWritten> written;
        BankSet set;
    };
    runTransfer(
        [&link = host_.link(), &store = host_.backups(), model = model_, file = *latest] {
            Restored result;
            const BackupStore::Reading reading(store, file);
            if (loadBankSet(file, result.set) != BankSetError::None || result.set.model != model) {
                return result;
            }
            link.SendCommand(cmd::kStatus, 0);
            result.written = restoreBanks(link, store, result.set);
            return result;
        },
        [this](const Restored& result) {
            WriteOutcome worst = result.written.empty() ? WriteOutcome::Failed : WriteOutcome::Complete;
            for (std::size_t i = 0; i < result.written.size(); ++i) {
                const BankWritten& w = result.written[i];
                if (w.outcome != WriteOutcome::Complete && worst == WriteOutcome::Complete) {
                    worst = w.outcome;
                }
                // The page shows what the adapter now holds in its mode.
                if (w.mode == mode_ &&
                    (w.outcome == WriteOutcome::Complete || w.outcome == WriteOutcome::ReadBackFailed)) {
                    ProfileImage bank = result.set.banks[i];
                    exchangeStoredCodes(model_, mode_, bank);
                    host_.link().workImage(model_) = bank;
                    host_.link().sendImage(model_) = bank;
                    rebuild();
                }
            }
            tell(worst == WriteOutcome::Complete         ? TextId::WriteComplete
                 : worst == WriteOutcome::ReadBackFailed ? TextId::WriteUnconfirmed
                                                         : TextId::OverwriteError);
            emit transferDone();
        });
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
    captureOneKey_ = byKey;
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
    if (!captureOn_) {
        qApp->installEventFilter(this);
    }
    captureOn_ = true;
    captureOneKey_ = false;
    captureKeysFree_ = false;
    captureSlot_ = selectedSlot_;
    slotCurrent_->setText(button->label());
    // A new capture starts empty: OK before any input changes nothing.
    setCaptured(QString());
}

void AssignmentPage::setCaptured(const QString& label) {
    capturedLabel_ = label;
    captured_->setText(label);
}

void AssignmentPage::endCapture() {
    if (captureOn_) {
        qApp->removeEventFilter(this);
    }
    captureOn_ = false;
    captureOneKey_ = false;
    captureKeysFree_ = false;
    for (const auto& button : slotButtons_) {
        if (button != nullptr && button->selected()) {
            button->setSelected(false);
            button->setCaptureLook(false);
        }
    }
    selectedSlot_ = 0;
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
    if (model_ == models::kKite) {
        const std::string label = slotLabel(kKiteDualSlot).toStdString();
        storeSlotLabel(model_, mode_, kKiteDualSlot, label, record(), selector_);
        storeSlotLabel(model_, mode_, kKiteDualSlot, label,
                       recordAt(host_.link().sendImage(model_), model_, slot_), selector_);
    }
    applyVisibility();
}

void AssignmentPage::captureCancel() {
    if (lstickPanelShown()) {
        lstickPanel_->captureCancel();
        return;
    }
    if (selectedSlot_ == 0) {
        return;
    }
    endCapture();
}

bool AssignmentPage::fnCapturable(int slot) const {
    return model_ == models::kMoss && slot == 5;
}

void AssignmentPage::captureFn() {
    if (fnCapturable(selectedSlot_)) {
        captured_->setText(qstr(kLabelFn));
    } else {
        tell(TextId::RefuseFn);
    }
}

void AssignmentPage::keyPressEvent(QKeyEvent* event) {
    if (!captureOn_ || captureKeysFree_) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (const auto label = labelForKeyEvent(*event)) {
        setCaptured(QString::fromStdString(*label));
    }
}

bool AssignmentPage::eventFilter(QObject* watched, QEvent* event) {
    if (!captureOn_ || !captureSees(*this, watched, *event)) {
        return QWidget::eventFilter(watched, event);
    }
    const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
                          event->type() == QEvent::ShortcutOverride;
    if (keyEvent && captureKeysFree_) {
        return QWidget::eventFilter(watched, event);
    }
    // OK, Cancel, "NC", "Fn" and the on-screen keyboard stay buttons while a key is awaited.
    const CapturedEvent captured = captureEvent(*event, [this](QPoint global) {
        for (int id : {kCaptureOk, kCaptureCancel, kScKbd, layout_.captureNcId, kCaptureFn}) {
            QWidget* allowed = control(id);
            if (allowed != nullptr && allowed->isVisible() &&
                allowed->rect().contains(allowed->mapFromGlobal(global))) {
                return true;
            }
        }
        return false;
    });
    if (!captured.handled) {
        return QWidget::eventFilter(watched, event);
    }
    if (captured.label) {
        setCaptured(QString::fromStdString(*captured.label));
        if (captureOneKey_ && event->type() == QEvent::KeyPress) {
            captureOneKey_ = false;
            captureKeysFree_ = true;
            control(kCaptureOk)->setFocus(Qt::TabFocusReason);
        }
    }
    return captured.swallow;
}

// --- messages and busy state -----------------------------------------------------------------

void AssignmentPage::tell(TextId id) {
    SkinMessageBox box(id, MessageBoxKind::OkOnly, host_.language(), this);
    box.exec();
}

bool AssignmentPage::ask(TextId id) {
    SkinMessageBox box(id, MessageBoxKind::YesNo, host_.language(), this);
    return box.exec() == IDOK;
}

void AssignmentPage::setBusy(bool busy) {
    // One count per transfer: the end of one never unlocks the page while another is pending.
    pending_ = std::max(0, pending_ + (busy ? 1 : -1));
    busy = pending_ > 0;
    busyCover_->setGeometry(rect());
    if (busy) {
        // The cover holds the keys while the adapter is busy; they go back where they were after.
        // The window's own focus widget: the window need not be the active one.
        if (QWidget* focus = window()->focusWidget(); focus != busyCover_) {
            focusBeforeBusy_ = focus;
        }
        busyCover_->show();
        busyCover_->raise();
        busyCover_->setFocus();
        return;
    }
    const bool coverHadFocus = window()->focusWidget() == busyCover_;
    busyCover_->hide();
    if (coverHadFocus && focusBeforeBusy_ != nullptr && focusBeforeBusy_->isVisible() &&
        focusBeforeBusy_->isEnabled()) {
        focusBeforeBusy_->setFocus();
    }
    focusBeforeBusy_ = nullptr;
}

QStringList AssignmentPage::pictureNames(int model) {
    const PageLayout& layout = pageLayout(model);
    QStringList names = {QStringLiteral("ZAV_pc_logo.png"), QStringLiteral("ZAV_logo.png")};
    for (const PicturePlace& keypad : layout.keypad) {
        if (!keypad.box.empty()) {
            names << qstr(keypad.connected) << qstr(keypad.disconnected);
        }
    }
    names << qstr(layout.ownMouseConnected) << qstr(layout.ownMouseDisconnected)
          << QStringLiteral("mouse_connect_normal.png") << QStringLiteral("mouse_connect1_normal.png")
          << QStringLiteral("mouse_disconnect_normal.png") << QStringLiteral("mouse_disconnect1_normal.png");
    return names;
}

// --- painting --------------------------------------------------------------------------------

void AssignmentPage::paintEvent(QPaintEvent*) {
    // Pictures are decoded when first drawn, so pages hidden at start decode none.
    const auto picture = [](std::string_view name) { return loadPicture(qstr(name)); };
    QPainter p(this);
    const QImage& background = skinBackground();
    if (background.isNull()) {
        p.fillRect(rect(), Qt::black);
    } else {
        drawPicturePart(p, QRect(QPoint(-2, -2), size()), background, QRect(0, 0, 960, 691));
    }

    p.setPen(kFrame);
    drawFrameRect(p, 409, 10, 674, 90);
    p.drawPolyline(QPolygon({QPoint(617, 118), QPoint(409, 118), QPoint(409, 265), QPoint(674, 265),
                             QPoint(674, 118), QPoint(652, 118), QPoint(652, 112), QPoint(670, 112),
                             QPoint(635, 92), QPoint(600, 112), QPoint(617, 112), QPoint(617, 118)}));
    const Box& frame = layout_.paletteFrame;
    drawFrameRect(p, frame.x, frame.y, frame.x + frame.w, frame.y + frame.h);
    drawFrameRect(p, 743, 40, 903, 180);

    const int language = host_.language();
    p.setPen(skin::kRed);
    p.setFont(languageFont(11, language));
    p.drawText(qrect(layout_.assignPadCaption), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               qstr(text(TextId::AssignPad, language)));
    p.drawText(QRect(753, 41, 130, 29), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               qstr(text(TextId::MouseSettings, language)));

    if (const QImage pcLogo = picture("ZAV_pc_logo.png"); !pcLogo.isNull()) {
        p.drawImage(QRect(420, 123, 39, 22), pcLogo);
    }
    if (const QImage logo = picture("ZAV_logo.png"); !logo.isNull()) {
        p.drawImage(QRect(420, 22, 64, 23), logo);
    }

    const bool connected = connectedToThisModel();
    for (const PicturePlace& keypad : layout_.keypad) {
        if (keypad.box.empty()) {
            continue;
        }
        if (const QImage shown = picture(connected ? keypad.connected : keypad.disconnected);
            !shown.isNull()) {
            p.drawImage(qrect(keypad.box), shown);
        }
    }
    if (!connected) {
        drawBottomCentred(p, layout_.keypadNotConnected, qstr(text(TextId::KeypadNotConnected, language)));
    }

    const MouseKind mouse = host_.link().mouseKind();
    const QString noMouse = qstr(text(TextId::MouseNotConnected, language));
    if (mouse != MouseKind::None && connected) {
        if (mouse == MouseKind::Own) {
            p.drawImage(QRect(692, 220, 235, 331), picture(layout_.ownMouseConnected));
        } else {
            p.drawImage(QRect(692, 220, 138, 331), picture("mouse_connect_normal.png"));
            p.drawImage(QRect(840, 220, 87, 331), picture("mouse_connect1_normal.png"));
        }
    } else if (host_.link().ordinaryMouseSeen()) {
        p.drawImage(QRect(692, 220, 138, 331), picture("mouse_disconnect_normal.png"));
        p.drawImage(QRect(840, 220, 87, 331), picture("mouse_disconnect1_normal.png"));
        drawBottomCentred(p, {692, 473, 208, 78}, noMouse);
    } else {
        p.drawImage(QRect(692, 220, 235, 331), picture(layout_.ownMouseDisconnected));
        drawBottomCentred(p, {692, 513, 208, 78}, noMouse);
    }

    if (model_ == models::kMoss) {
        p.setFont(languageFont(11, language));
        const std::array<TextId, 4> fn = {TextId::FnButton1, TextId::FnButton2, TextId::FnButton3,
                                          TextId::FnButton4};
        for (std::size_t i = 0; i < fn.size(); ++i) {
            p.drawText(QRect(30, 86 + 34 * static_cast<int>(i), 140, 34),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, qstr(text(fn[i], language)));
        }
        if (mode_ == kModeKeyboard) {
            p.drawText(QRect(15, 550, 185, 24), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                       qstr(text(TextId::PrioritizePressedButton, language)));
        }
    }
}

} // namespace zav
