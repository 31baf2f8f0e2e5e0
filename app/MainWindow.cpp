#include "app/MainWindow.h"

#include "controls/QtText.h"
#include "controls/Skin.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinMessageBox.h"
#include "controls/ToggleButton.h"
#include "device/DeviceWorker.h"
#include "pages/AssignmentPage.h"
#include "pages/Pictures.h"
#include "profiles/ModelDescription.h"
#include "text/Texts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace zav {

namespace {

constexpr QColor kInnerFrame(136, 45, 45);
constexpr QRect kLanguageLabel(625, 3, 120, 25); // (625, 3)-(745, 28)
constexpr QRect kPageRect(8, 60, 944, 612);
constexpr std::array<QPoint, 3> kTabPos = {QPoint(6, 35), QPoint(107, 35), QPoint(208, 35)};

// The tab of the model shown on page i + 1.
TextId tabText(std::size_t i) {
    return modelDescription(static_cast<int>(i) + 1)->texts->tab;
}

QString qtext(TextId id, int language) {
    return qstr(text(id, language));
}

} // namespace

MainWindow::MainWindow(HidBackend& backend, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint), link_(std::make_unique<DeviceLink>(backend)),
      backups_(std::make_unique<BackupStore>(defaultBackupFolder())), worker_(new DeviceWorker(this)) {
    setWindowTitle(QStringLiteral("ZAV Software"));
    setObjectName(QStringLiteral("102"));
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The first paint needs the skin and the first page's pictures: they are decoded while the
    // controls are made.
    preloader_ = std::make_unique<PicturePreloader>(AssignmentPage::pictureNames(1), [] {
        skinBackground();
        skinHeader();
        skinFooter();
    });

    // The other two pages are built when first shown.
    buildPage(1);
    for (std::size_t i = 0; i < tabs_.size(); ++i) {
        auto* tab = new ToggleButton(kTabIds[i], qtext(tabText(i), 0), this);
        tab->setPress(ToggleButton::Press::StaysOn);
        tab->setGeometry(QRect(kTabPos[i], QSize(100, 25)));
        const int model = static_cast<int>(i) + 1;
        connect(tab, &ToggleButton::clicked, this, [this, model] { selectTab(model); });
        tabs_[i] = tab;
    }
    tabs_[0]->setOn(true);

    minimiseButton_ = new SkinButton(QStringLiteral("_"), this);
    minimiseButton_->setObjectName(QString::number(kMinimiseButton));
    minimiseButton_->setGeometry(907, 2, 25, 25);
    connect(minimiseButton_, &QPushButton::clicked, this, &QWidget::showMinimized);

    closeButton_ = new SkinButton(QStringLiteral("X"), this);
    closeButton_->setObjectName(QString::number(kCloseButton));
    closeButton_->setGeometry(933, 2, 25, 25);
    connect(closeButton_, &QPushButton::clicked, this, &MainWindow::reject);

    languageList_ = new SkinComboBox(this);
    languageList_->setObjectName(QString::number(kLanguageList));
    languageList_->setGeometry(755, 3, 150, 25);
    languageList_->setEditable(true);
    languageList_->lineEdit()->setReadOnly(true);
    for (int i = 0; i < kLanguageCount; ++i) {
        languageList_->addItem(qstr(languageName(i)));
    }
    languageList_->setCurrentIndex(0);
    connect(languageList_, &SkinComboBox::currentIndexChanged, this, [this](int) { ApplyCaptions(); });

    connect(this, &MainWindow::mouseKindChanged, this, [this](MouseKind kind) {
        shownMouse_ = kind;
        for (AssignmentPage* p : builtPages()) {
            p->mouseKindChanged(kind);
        }
    });

    orderTabs();

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

MainWindow::~MainWindow() {
    // Jobs still out refer to the link: stop the worker before the link goes. A job stuck in a
    // transfer keeps the link, which is then left to the end of the process.
    link_->setClosing();
    if (!worker_->shutdown(2000)) {
        stoppedCleanly_ = false;
        (void)link_.release();
    }
}

void MainWindow::start(int langId) {
    PickSystemLanguage(langId);
    startConnectPass();
}

AssignmentPage* MainWindow::page(int model) {
    if (model < 1 || model > 3) {
        return nullptr;
    }
    AssignmentPage* built = pages_[static_cast<std::size_t>(model - 1)];
    return built != nullptr ? built : buildPage(model);
}

AssignmentPage* MainWindow::buildPage(int model) {
    auto* p = new AssignmentPage(*this, model, this);
    p->setGeometry(kPageRect);
    p->setVisible(model == currentTab_);
    // Below the window's own controls, as if made before them.
    p->lower();
    // What the other pages were told before this one existed.
    if (captionsApplied_) {
        p->applyCaptions(language_);
    }
    if (shownMouse_ != MouseKind::None) {
        p->mouseKindChanged(shownMouse_);
    }
    if (profileTextsCleared_) {
        p->clearProfileText();
    }
    pages_[static_cast<std::size_t>(model - 1)] = p;
    orderTabs();
    return p;
}

void MainWindow::orderTabs() {
    if (languageList_ == nullptr) {
        return; // the first page is built before the header's controls
    }
    QList<QWidget*> chain{languageList_, minimiseButton_, closeButton_};
    for (ToggleButton* t : tabs_) {
        chain.append(t);
    }
    for (AssignmentPage* p : builtPages()) {
        chain.append(p->tabChain());
    }
    for (qsizetype i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

std::vector<AssignmentPage*> MainWindow::builtPages() const {
    std::vector<AssignmentPage*> built;
    for (AssignmentPage* p : pages_) {
        if (p != nullptr) {
            built.push_back(p);
        }
    }
    return built;
}

ToggleButton* MainWindow::tab(int model) const {
    return model >= 1 && model <= 3 ? tabs_[static_cast<std::size_t>(model - 1)] : nullptr;
}

void MainWindow::PickSystemLanguage(int langId) {
    const int language = languageForLangId(langId);
    if (language < 0) {
        return;
    }
    const QSignalBlocker block(languageList_);
    languageList_->setCurrentIndex(language);
    ApplyCaptions();
}

void MainWindow::ApplyCaptions() {
    captionsApplied_ = true;
    if (languageList_->currentIndex() >= 0) {
        language_ = languageList_->currentIndex();
    }
    setSkinLanguage(language_);
    for (std::size_t i = 0; i < tabs_.size(); ++i) {
        tabs_[i]->setText(qtext(tabText(i), language_));
        tabs_[i]->setLanguage(language_);
    }
    for (AssignmentPage* p : builtPages()) {
        p->applyCaptions(language_);
    }
    update();
}

void MainWindow::onDeviceChange(bool adapterNodeChanged) {
    if (closing_) {
        return;
    }
    // Identify on the device thread; what is attached decides on this thread whether a pass
    // follows: another node or model than the last pass found, or the same one back again.
    struct Found {
        bool present = false;
        AdapterIdentity identity;
    };
    worker_->run(
        this,
        [this] {
            DeviceLink& link = *link_;
            link.resetMouseKind();
            const bool present = link.OpenAndIdentify() || link.OpenAndIdentify();
            return Found{present, link.identity()};
        },
        [this, adapterNodeChanged](const Found& found) {
            readDone_ = false;
            if (!found.present) {
                knownConnected_ = false;
                startConnectPass();
            } else if (!knownConnected_ || adapterNodeChanged || found.identity != attached_) {
                startConnectPass();
            }
            if (AssignmentPage* p = page(link_->model())) {
                p->setPolling(true);
            }
            emit deviceChangeHandled();
        });
}

void MainWindow::reportMouseKind(MouseKind kind) {
    if (kind == shownMouse_) {
        return;
    }
    shownMouse_ = kind;
    emit mouseKindChanged(kind);
}

void MainWindow::startConnectPass() {
    if (closing_) {
        return;
    }
    // One pass at a time; a change seen meanwhile gets one more pass after this one.
    if (passRunning_) {
        passAgain_ = true;
        return;
    }
    passRunning_ = true;
    worker_->run(
        this, [this] { return link_->OpenAndIdentify(); }, [this](bool found) { onIdentified(found); });
}

void MainWindow::onIdentified(bool found) {
    if (!found || link_->closing()) {
        connected_ = false;
        attached_ = {};
        for (AssignmentPage* p : builtPages()) {
            p->clearProfileText();
        }
        profileTextsCleared_ = true;
        // An adapter that is there but cannot be opened is no missing adapter: say so, once.
        const bool refused = !found && link_->openRefused();
        const bool tell = refused && !accessDeniedShown_;
        accessDeniedShown_ = refused;
        finishPass();
        if (tell) {
            showAccessDenied();
        }
        return;
    }
    accessDeniedShown_ = false;
    connected_ = true;
    knownConnected_ = true;
    attached_ = link_->identity();
    const int model = link_->model();
    for (AssignmentPage* p : builtPages()) {
        p->setPolling(false);
    }
    page(model)->setPolling(true);
    showPageOf(model);
    currentTab_ = model;
    // The bank is read once per device change; the page tells when its read is over.
    if (readDone_) {
        afterFirstRead(model);
        return;
    }
    page(model)->firstRead([this, model] {
        readDone_ = true;
        afterFirstRead(model);
    });
}

void MainWindow::afterFirstRead(int model) {
    AssignmentPage* p = page(model);
    auto finishSlots = [this, p] {
        p->resetSlotListForConnect();
        p->clearProfileText();
        finishPass();
    };
    if (model != 2) {
        finishSlots();
        return;
    }
    // The second model tells its capability in a status reply asked with the page's mode.
    const auto mode = static_cast<std::uint8_t>(p->mode());
    worker_->run(
        this, [this, mode] { return link_->QueryCapability(mode); },
        [this, p, finishSlots](bool ok) {
            if (ok) {
                if (const auto capability = link_->capability()) {
                    p->setCapability(*capability);
                }
                p->capabilityStored();
            }
            finishSlots();
        });
}

void MainWindow::finishPass() {
    if (const int model = link_->model(); model >= 1 && model <= 3) {
        showPageOf(model);
    }
    // The keypad and mouse pictures follow the connection.
    update();
    for (AssignmentPage* p : builtPages()) {
        p->update();
    }
    passRunning_ = false;
    if (passAgain_ && !closing_) {
        passAgain_ = false;
        startConnectPass();
        return;
    }
    emit connectPassFinished();
}

void MainWindow::showPageOf(int model) {
    currentTab_ = model;
    page(model); // a page first shown now is built now
    for (int m = 1; m <= 3; ++m) {
        tab(m)->setOn(m == model);
        if (AssignmentPage* built = pages_[static_cast<std::size_t>(m - 1)]) {
            built->setVisible(m == model);
        }
    }
}

void MainWindow::selectTab(int model) {
    AssignmentPage* chosen = page(model);
    if (chosen == nullptr) {
        return;
    }
    for (AssignmentPage* p : builtPages()) {
        p->endCapture();
    }
    chosen->clearReadFlags();
    // The focus leaves a page being hidden for the tab that hid it, not for the next control in the Tab
    // order.
    if (QWidget* focus = focusWidget(); focus != nullptr) {
        for (AssignmentPage* p : builtPages()) {
            if (p != chosen && p->isAncestorOf(focus)) {
                tabs_[static_cast<std::size_t>(model - 1)]->setFocus(Qt::OtherFocusReason);
            }
        }
    }
    showPageOf(model);
}

void MainWindow::showNewVersionNotice() {
    SkinMessageBox box(TextId::NewVersionNotice, MessageBoxKind::OkOnly, language_, this);
    box.setShowUpdateLink(true);
    box.exec();
}

void MainWindow::showAccessDenied() {
    SkinMessageBox box(TextId::AccessDenied, MessageBoxKind::OkOnly, language_, this);
    emit accessDeniedShown();
    box.exec();
}

void MainWindow::reject() {
    if (closing_) {
        return;
    }
    closing_ = true;
    link_->setClosing();
    for (AssignmentPage* p : builtPages()) {
        p->setPolling(false);
    }
    if (connected_) {
        worker_->run(
            this, [this] { return link_->SendCommand(cmd::kRelease, 0); }, [](bool) {});
    }
    // Lets the release go out, but never waits long on an adapter that stopped answering.
    stoppedCleanly_ = worker_->shutdown(1500);
    QDialog::reject();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        reject();
    }
    event->accept();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect client = rect();
    const QImage& background = skinBackground();
    if (!background.isNull()) {
        drawPicturePart(p, client, background, QRect(0, 0, 960, 691));
    } else {
        p.fillRect(client, Qt::black);
    }
    if (!skinHeader().isNull()) {
        drawPicturePart(p, QRect(0, 0, client.width(), 58), skinHeader(), QRect(0, 0, 960, 58));
    }
    if (!skinFooter().isNull()) {
        drawPicturePart(p, QRect(0, client.height() - 29, client.width(), 29), skinFooter(),
                        QRect(0, 0, 960, 29));
    }
    p.setPen(kInnerFrame);
    drawFrameRect(p, client.left() + 7, client.top() + 59, client.left() + client.width() - 8,
                  client.top() + client.height() - 28);
    if (const QImage logo = loadPicture(QStringLiteral("ZAV_logo.png")); !logo.isNull()) {
        p.drawImage(QRect(6, 6, 64, 22), logo);
    }
    p.setPen(skin::kRed);
    p.setFont(skinFont(FontFace::Arial, 11, language_));
    p.drawText(kLanguageLabel, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
               qtext(TextId::LanguageLabel, language_));
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // The whole window is its own title bar.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
        return;
    }
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragOffset_);
    }
}

void MainWindow::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click never maximises or restores the window.
    event->accept();
}

} // namespace zav
