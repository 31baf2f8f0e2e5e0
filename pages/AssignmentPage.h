#pragma once

#include "device/MouseClassifier.h"
#include "pages/PageLayout.h"
#include "pages/PageRecord.h"
#include "profiles/ProfileListModel.h"

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class QLabel;

namespace zav {

class SkinButton;
class ToggleButton;
class FramedLabel;
class LeftStickPanel;
class SkinComboBox;
class PageHost;
struct SettingsTarget;
class MoveButton;
class ProfileLibrary;
enum class TextId : int;

// The assignment page of one model, shown under its tab: the keypad with a button on every key
// slot, the palette or key capture, the profile controls and the mouse settings. The three
// models' pages differ only by their layout data.
class AssignmentPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int kModeList = 1119;
    static constexpr int kSlotList = 1120;
    static constexpr int kProfileList = 1126;
    static constexpr int kPollMs = 500;
    // A wait shorter than this shows no busy cursor.
    static constexpr int kBusyCursorDelayMs = 250;
    static constexpr int kModes = 4;

    AssignmentPage(PageHost& host, int model, QWidget* parent = nullptr);
    ~AssignmentPage() override;

    int model() const { return model_; }
    int mode() const { return mode_; }
    int profileSlot() const { return slot_; }
    const PageLayout& layout() const { return layout_; }
    bool readFromDevice(int mode) const;
    void clearReadFlags();

    // The main window's connect pass: read the current mode's bank once per device change, then
    // show the record of the current slot. `done` runs on the window's thread when that is over.
    void firstRead(std::function<void()> done);

    // The 500 ms status poll of the page of the connected model.
    void setPolling(bool on);
    bool polling() const { return poll_.isActive(); }

    // Second model: the capability byte of the status reply picks its third mode.
    void setCapability(std::uint8_t capability);
    std::uint8_t capability() const { return capability_; }
    void capabilityStored();

    // What the connect pass does to the slot list: make sure the blank item exists, then select
    // the first slot.
    void resetSlotListForConnect();
    void clearProfileText();
    // Leaves any key capture and slot selection.
    void endCapture();
    void applyCaptions(int language);
    void mouseKindChanged(MouseKind kind);

    SkinComboBox* modeList() const { return modeList_; }
    SkinComboBox* slotList() const { return slotList_; }
    SkinComboBox* profileList() const { return profileList_; }
    // True while any transfer of this page is queued or running; the page takes no input then.
    bool busy() const { return pending_ > 0; }

    // The record the page edits: the current slot's in the work page (the second model's only one).
    std::span<std::uint8_t> record();
    MoveButton* slotButton(int slot) const;
    QString slotLabel(int slot) const;
    // What assistive technology calls a key slot showing `shownLabel`: "Key 5: L1", or "Key 5" without one.
    static QString slotName(int slot, const QString& shownLabel, int language);
    MoveButton* paletteButton(int id) const;
    QWidget* control(int id) const;
    bool captureOn() const { return captureOn_; }
    // A capture started from the keyboard takes one key, then gives the keys back with the focus on OK.
    bool captureKeysFree() const { return captureKeysFree_; }
    int selectedSlot() const { return selectedSlot_; }
    QString capturedText() const;
    StickSelector stickSelector() const { return selector_; }
    // Second model: the left-stick panel; nullptr on the other models.
    LeftStickPanel* lstickPanel() const { return lstickPanel_; }

    // What a settings dialog opened from this page edits: this model's record of the current slot.
    SettingsTarget settingsTarget();

    // Collects the slot buttons into the record and copies the work page to the send page.
    void collect();
    // Shows the record of the current slot on the slot buttons and applies the visibility rules.
    void rebuild();
    // The same from another slot's record, the page's own slot staying as it is.
    void rebuildFrom(int recordSlot);

    // The page's controls that take the focus, in reading order: column by column (keypad, profiles and
    // palette, mouse settings), top to bottom and left to right, a column's key slots by their number.
    QList<QWidget*> tabChain() const;

    ProfileLibrary& library() { return *library_; }
    const ProfileListModel& profiles() const { return profiles_; }
    // Where the profile folders live: the user's Documents folder.
    static QString documentsFolder();
    // The pictures a page of `model` may draw, those of its first paint first.
    static QStringList pictureNames(int model);

    // Library hooks.
    void takeLoadedRecord(int mode, std::span<const std::uint8_t> loaded);
    void showBlankSlotItem();
    void resetAndShow(int slot);
    void sendStatus();
    bool ask(TextId id);
    void tell(TextId id);

signals:
    void pollDone();
    void firstReadDone();
    // A mode read, slot read or write has shown its result.
    void transferDone();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    void fillModeList(int language);
    PageHost& host_;

private:
    void buildControls();
    SkinButton* addButton(int id, TextId caption);
    SkinButton* addButton(int id, const QString& caption);
    QLabel* addCaption(int id, const QString& caption, double points);
    void place(QWidget* widget, int id);

    void applyVisibility();
    void showMouseOnlySlots(MouseKind kind);
    void setSlotButton(int slot, const QString& label);
    int modeForItem(int item) const;
    int itemForMode(int mode) const;
    void setPaletteFaces();
    bool connectedToThisModel() const;

    void changeMode(int item);
    void changeSlot(int item);
    void onDrop(MoveButton* button, QPoint global);
    void onPicked(MoveButton* button);
    // Puts a palette button's function on `target` under the rules of a drop; false when refused.
    bool assignFunction(MoveButton* button, int target);
    void onSlotClicked(MoveButton* button, bool byKey);
    // Console modes: the slot that a picked palette function goes to, 0 for none.
    void selectForAssign(int slot);
    void openOnScreenKeyboard();
    void selectStick(StickSelector selector);
    void write();
    // The Write button's menu, and its one entry: put back what the last Write overwrote.
    void showWriteMenu(QPoint global);
    void restoreLastWrite();
    void syncProfileList();
    void runLibrary(void (ProfileLibrary::*operation)());

    void startCapture();
    void setCaptured(const QString& label);
    void captureOk();
    void captureCancel();
    void captureFn();
    bool fnCapturable(int slot) const;
    bool lstickPanelShown() const;

    void poll();
    void setBusy(bool busy);
    // Runs `job` on the device thread with the page locked until its result has been shown.
    // The job gets only what was gathered into it, never a page or image the window may change.
    template <typename Job, typename Done>
    void runTransfer(Job job, Done done);

    int model_;
    const PageLayout& layout_;
    int mode_ = 0;
    int slot_ = 0;
    std::uint8_t capability_ = 0;
    std::array<bool, kModes> readFlags_{};
    StickSelector selector_ = StickSelector::DPad;
    MouseKind lastMouse_ = MouseKind::None;

    std::array<QPointer<MoveButton>, kSlotArraySize> slotButtons_{};
    SlotLabels labels_{};
    std::array<QLabel*, kSlotArraySize> statics_{};
    std::map<int, MoveButton*> palette_;
    std::map<int, QWidget*> controls_;

    int selectedSlot_ = 0;
    bool captureOn_ = false;
    bool captureOneKey_ = false;
    bool captureKeysFree_ = false;
    int captureSlot_ = 0;
    QString capturedLabel_;

    class Binding;
    std::unique_ptr<Binding> binding_;
    ProfileListModel profiles_;
    std::unique_ptr<ProfileLibrary> library_;

    QTimer poll_;
    bool polling_ = false;
    int pending_ = 0; // transfers queued or running
    QWidget* busyCover_ = nullptr;
    QPointer<QWidget> focusBeforeBusy_;
    SkinComboBox* modeList_ = nullptr;
    SkinComboBox* slotList_ = nullptr;
    SkinComboBox* profileList_ = nullptr;
    FramedLabel* captured_ = nullptr;    // 1148
    FramedLabel* slotCurrent_ = nullptr; // 1149
    ToggleButton* dpad_ = nullptr;
    ToggleButton* lstick_ = nullptr;
    ToggleButton* switch_ = nullptr;
    LeftStickPanel* lstickPanel_ = nullptr;
};

} // namespace zav
