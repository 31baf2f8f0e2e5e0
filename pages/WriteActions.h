#pragma once

#include <QObject>
#include <QPoint>

namespace zav {

class AssignmentPage;
class BusyCover;
class PageHost;
class SkinButton;
enum class TextId : int;

// The Write button: the page's record into the adapter's bank of the page's mode, the bank it
// overwrites kept first; its menu's one entry puts back what the last Write overwrote.
class WriteActions : public QObject {
    Q_OBJECT
public:
    WriteActions(AssignmentPage& page, PageHost& host, BusyCover& cover, SkinButton& button);

signals:
    // A write or restore has shown its result, or was refused.
    void finished();

private:
    void write();
    void showMenu(QPoint global);
    void restoreLastWrite();
    // Tells why nothing is sent, and is finished.
    void refuse(TextId why);

    AssignmentPage& page_;
    PageHost& host_;
    BusyCover& cover_;
};

} // namespace zav
