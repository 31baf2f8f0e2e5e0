#pragma once

#include <QObject>
#include <QTimer>

namespace zav {

class PageHost;

// The status poll of the page of the connected model: each tick asks the adapter for its status and
// tells the window which mouse is attached. A tick that finds the adapter still busy is skipped rather
// than queued; one that finds no adapter stops the poll.
class StatusPoller : public QObject {
    Q_OBJECT
public:
    StatusPoller(PageHost& host, int intervalMs, QObject* parent);

    void setOn(bool on);
    bool on() const { return timer_.isActive(); }

signals:
    // A tick found no adapter; the poll has stopped.
    void stopped();
    // A tick is over.
    void done();

private:
    void tick();

    PageHost& host_;
    QTimer timer_;
    bool asking_ = false;
};

} // namespace zav
