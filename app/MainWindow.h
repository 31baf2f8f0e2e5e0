#pragma once

#include "device/BackupStore.h"
#include "device/DeviceLink.h"
#include "pages/PageHost.h"

#include <QDialog>
#include <QImage>
#include <QPoint>

#include <array>
#include <atomic>
#include <memory>
#include <vector>

namespace zav {

class AssignmentPage;
class SkinButton;
class ToggleButton;
class SkinComboBox;
class DeviceWorker;
class PicturePreloader;

// The one top-level window: the skinned frame, the three model tabs, the language list and the
// pages, and the owner of the device link. Every transfer runs on the device worker; this window
// only gathers what a transfer needs and shows what came back.
class MainWindow : public QDialog, public PageHost {
    Q_OBJECT
public:
    static constexpr int kWidth = 960;
    static constexpr int kHeight = 700;
    static constexpr int kCloseButton = 1128;
    static constexpr int kMinimiseButton = 1129;
    static constexpr int kLanguageList = 1150;
    static constexpr std::array<int, 3> kTabIds = {1159, 1160, 1161};

    explicit MainWindow(HidBackend& backend, QWidget* parent = nullptr);
    ~MainWindow() override;

    DeviceLink& link() override { return *link_; }
    DeviceWorker& worker() override { return *worker_; }
    // Where every Write first keeps the bank it overwrites.
    BackupStore& backups() override { return *backups_; }
    int language() const override { return language_; }
    bool connected() const override { return connected_; }
    bool knownConnected() const { return knownConnected_; }
    bool readDone() const { return readDone_; }
    void setReadDone(bool done) { readDone_ = done; }
    int currentTab() const { return currentTab_; }
    bool passRunning() const { return passRunning_; }
    // A model's page; the pages hidden at start are built when first asked for.
    AssignmentPage* page(int model);
    ToggleButton* tab(int model) const;
    SkinComboBox* languageList() const { return languageList_; }

    // What the window does once it is made: the system's language, then the first connect pass.
    void start(int langId);
    // False when a transfer is still stuck at the end; the process must then end without
    // unwinding what that transfer uses.
    bool stoppedCleanly() const { return stoppedCleanly_; }

    // Picks the language of a Windows language identifier; an unknown one keeps the captions
    // the controls were made with.
    void PickSystemLanguage(int langId);
    // A status reply has classified the mouse as `kind`: the pages hear of it when it differs
    // from what they were told, whichever exchange classified it first.
    void reportMouseKind(MouseKind kind) override;
    void ApplyCaptions();

public slots:
    // The adapter may have come or gone. `adapterNodeChanged`: an adapter's node came or went in
    // the burst, so even the same adapter back again is connected anew.
    void onDeviceChange(bool adapterNodeChanged = false);
    void startConnectPass();
    void selectTab(int model);
    // Shown when told that a newer version exists; nothing in the program asks for it.
    void showNewVersionNotice();
    void reject() override;

signals:
    // A connect pass has shown its result (and no other pass is waiting).
    void connectPassFinished();
    void deviceChangeHandled();
    void mouseKindChanged(MouseKind kind);
    // The adapter is attached but this user may not open it.
    void accessDeniedShown();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void onIdentified(bool found);
    void afterFirstRead(int model);
    void finishPass();
    void showPageOf(int model);
    void showAccessDenied();
    AssignmentPage* buildPage(int model);
    // Tab goes through the header's controls, the model tabs, then the pages' controls.
    void orderTabs();
    // The pages built so far.
    std::vector<AssignmentPage*> builtPages() const;

    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<BackupStore> backups_;
    DeviceWorker* worker_ = nullptr;
    std::unique_ptr<PicturePreloader> preloader_;
    std::array<AssignmentPage*, 3> pages_{};
    std::array<ToggleButton*, 3> tabs_{};
    SkinButton* closeButton_ = nullptr;
    SkinButton* minimiseButton_ = nullptr;
    SkinComboBox* languageList_ = nullptr;

    int currentTab_ = 1;
    int language_ = 0;
    bool connected_ = false;
    std::atomic<bool> knownConnected_{false};
    bool readDone_ = false;
    bool passRunning_ = false;
    bool passAgain_ = false;
    bool closing_ = false;
    bool stoppedCleanly_ = true;
    bool accessDeniedShown_ = false;
    // The pages have been given the captions of a language (an unknown system language gives none).
    bool captionsApplied_ = false;
    // A pass that found no adapter has cleared the profile name of every page.
    bool profileTextsCleared_ = false;

    // What the last connect pass found attached; compared with what a device change finds.
    AdapterIdentity attached_;
    // What the pages were last told of the mouse; a status reply that differs is told again.
    MouseKind shownMouse_ = MouseKind::None;

    bool dragging_ = false;
    QPoint dragOffset_;
};

} // namespace zav
