#pragma once

#include "pages/PageLayout.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>

namespace zav {

class AssignmentPage;
class KeyCapture;
class SkinButton;
class MoveButton;

// The second model's left-stick panel: which keyboard key or mouse input stands for each of the
// four directions of the left stick (record bytes 27..30). It lies over the keypad of the page,
// which creates it once and shows it from its "L-Stick Settings" button. A direction button is
// selected with a click in keyboard mode, the input is captured into the page's input-key display
// and confirmed with the page's OK; the panel's own OK stores all four directions.
class LeftStickPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;
    static constexpr int kDirections = 4; // up, down, left, right
    static constexpr int kFirstByte = 27; // record byte of the up direction

    // Where each direction's button stands, in panel pixels, with the id of its position static.
    struct DirectionPlace {
        int staticId = 0;
        Box box;
    };
    static constexpr std::array<DirectionPlace, kDirections> kDirectionPlaces = {{
        {1067, {110, 68, 35, 35}},
        {1068, {110, 158, 35, 35}},
        {1069, {66, 111, 35, 35}},
        {1070, {153, 111, 35, 35}},
    }};

    explicit LeftStickPanel(AssignmentPage& page);
    ~LeftStickPanel() override;

    // What the page's "L-Stick Settings" button does: place the panel over the page's keypad,
    // show it and show the stored record on it again.
    void popUp();
    // The four direction buttons anew from record bytes 27..30.
    void refresh();

    bool capturing() const;
    // The direction waiting for an input, -1 when none.
    int selectedDirection() const { return selected_; }
    // The page's capture OK: the text the page shows as captured goes on the selected direction.
    void captureOk(const QString& shownText);
    // The page's capture Cancel, and anything else that ends the capture.
    void captureCancel();

    MoveButton* directionButton(int direction) const;
    QString caption(int direction) const;
    QString capturedName() const { return capturedName_; }
    void setLanguage(int language);

signals:
    // The panel was closed by its OK (kOk) or Cancel (kCancel).
    void finished(int result);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void accept();
    void reject();
    void onDirectionClicked(MoveButton* button);
    void endCapture();
    void setCaptured(const QString& name);
    void showOnPage(int controlId, const QString& text);

    AssignmentPage& page_;
    KeyCapture* capture_ = nullptr;
    int selected_ = -1;
    QString capturedName_;
    std::array<QString, kDirections> captions_;
    std::array<QPointer<MoveButton>, kDirections> buttons_{};
    QImage picture_;
    SkinButton* ok_ = nullptr;
    SkinButton* cancel_ = nullptr;
    int language_ = 0;
};

} // namespace zav
