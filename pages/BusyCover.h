#pragma once

#include "device/DeviceWorker.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace zav {

// Lies over the page while it waits for the adapter, so that the page takes no input. The busy cursor
// comes only when the wait lasts: an ordinary transfer is over before it would show, and does not make
// the cursor flicker. It holds the keys meanwhile and gives the focus back where it was.
class BusyCover : public QWidget {
public:
    BusyCover(int cursorDelayMs, QWidget* page);

    // One count per transfer: the end of one never frees the page while another is pending.
    void enter();
    void leave();
    bool busy() const { return pending_ > 0; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void count(int change);

    QTimer cursorDelay_;
    int pending_ = 0;
    QPointer<QWidget> focusBefore_;
};

// Runs `job` on the device thread with `cover` over its page until `done` has shown the result on the
// page's thread. The job gets only what was gathered into it, never a page or image the window may change.
template <typename Job, typename Done>
void runCovered(DeviceWorker& worker, BusyCover& cover, Job job, Done done) {
    cover.enter();
    worker.run(cover.parentWidget(), std::move(job),
               [&cover, done = std::move(done)](auto&&... result) mutable {
                   cover.leave();
                   done(std::forward<decltype(result)>(result)...);
               });
}

} // namespace zav
