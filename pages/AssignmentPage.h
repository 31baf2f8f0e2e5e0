#pragma once

#include "device/MouseClassifier.h"
#include "pages/ControlIds.h"
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

class BusyCover;
class KeyCapture;
class KeySlots;
class ModeList;
class PageLibrary;
class PagePalette;
class ProfileSlotList;
class StatusPoller;
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
    static constexpr int kModeList = ids::kModeList;
    static constexpr int kSlotList = ids::kSlotList;
    static constexpr int kProfileList = ids::kProfileList;
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
    bool polling() const;

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

    SkinComboBox* modeList() const;
    SkinComboBox* slotList() const;
    SkinComboBox* profileList() const { return profileList_; }
    // True while any transfer of this page is queued or running; the page takes no input then.
    bool busy() const;

    // The record the page edits: the current slot's in the work page (the second model's only one).
    std::span<std::uint8_t> record();
    MoveButton* slotButton(int slot) const;
    QString slotLabel(int slot) const;
    // What assistive technology calls a key slot showing `shownLabel`: "Key 5: L1", or "Key 5" without one.
    static QString slotName(int slot, const QString& shownLabel, int language);
    MoveButton* paletteButton(int id) const;
    QWidget* control(int id) const;
    bool captureOn() const;
    // A capture started from the keyboard takes one key, then gives the keys back with the focus on OK.
    bool captureKeysFree() const;
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

    ProfileLibrary& library();
    const ProfileListModel& profiles() const;
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
    void keyPressEvent(QKeyEvent* event) override;

    void fillModeList(int language);
    PageHost& host_;

private:
    void buildControls();
    SkinButton* addButton(int id, TextId caption);
    SkinButton* addButton(int id, const QString& caption);
    // A help button "?" that tells `help`.
    void addHelp(int id, std::function<TextId()> help);
    QLabel* addCaption(int id, TextId caption, double points);
    void place(QWidget* widget, int id);

    void applyVisibility();
    void setSlotButton(int slot, const QString& label);
    bool connectedToThisModel() const;
    // Every record of the work page gets the defaults of `mode`.
    void resetMode(int mode);

    // What a bank read brings: a slot's read only replaces the work page; a mode's read also the send
    // page, and marks the mode as read.
    enum class BankRead { None, Slot, Mode };
    // Reads `mode`'s bank (unless `read` is None) and takes what arrived into the pages; then `take` gets
    // whether an image arrived, the page shows its record and `done` runs.
    void readAndShow(int mode, BankRead read, std::function<void(bool arrived)> take,
                     std::function<void()> done);

    void changeMode(int item);
    void changeSlot(int item);
    // Puts a palette button's function on `target` under the rules of a drop; false when refused.
    bool assignFunction(MoveButton* button, int target);
    void onSlotClicked(MoveButton* button, bool byKey);
    // Console modes: the slot that a picked palette function goes to, 0 for none.
    void selectForAssign(int slot);
    void openOnScreenKeyboard();
    void selectStick(StickSelector selector);
    // Slot 22 of the first model: its label is stored in both pages under the stick selector.
    void storeDualSlot(const QString& label);

    void startCapture();
    void setCaptured(const QString& label);
    void captureOk();
    void captureCancel();
    void captureFn();
    bool fnCapturable(int slot) const;
    bool lstickPanelShown() const;

    int model_;
    const PageLayout& layout_;
    int mode_ = 0;
    int slot_ = 0;
    std::uint8_t capability_ = 0;
    std::array<bool, kModes> readFlags_{};
    StickSelector selector_ = StickSelector::DPad;

    KeySlots* keySlots_ = nullptr;
    std::map<int, QWidget*> controls_;
    PagePalette* palette_ = nullptr;

    int selectedSlot_ = 0;
    int captureSlot_ = 0;
    KeyCapture* capture_ = nullptr;

    std::unique_ptr<PageLibrary> library_;

    StatusPoller* poll_ = nullptr;
    BusyCover* busyCover_ = nullptr;
    ModeList* modeList_ = nullptr;
    ProfileSlotList* slotList_ = nullptr;
    SkinComboBox* profileList_ = nullptr;
    FramedLabel* captured_ = nullptr;
    FramedLabel* slotCurrent_ = nullptr;
    ToggleButton* dpad_ = nullptr;
    ToggleButton* lstick_ = nullptr;
    ToggleButton* switch_ = nullptr;
    LeftStickPanel* lstickPanel_ = nullptr;
};

} // namespace zav
