#include "pages/StatusPoller.h"

#include "device/DeviceLink.h"
#include "device/DeviceWorker.h"
#include "pages/PageHost.h"

namespace zav {

StatusPoller::StatusPoller(PageHost& host, int intervalMs, QObject* parent) : QObject(parent), host_(host) {
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, &StatusPoller::tick);
}

void StatusPoller::setOn(bool on) {
    if (!on) {
        timer_.stop();
    } else if (!timer_.isActive()) {
        timer_.start();
    }
}

void StatusPoller::tick() {
    if (!host_.connected()) {
        timer_.stop();
        emit stopped();
        emit done();
        return;
    }
    if (asking_ || host_.worker().busy()) {
        return;
    }
    asking_ = true;
    host_.worker().run(
        this, [&link = host_.link()] { return link.PollStatus(0); },
        [this](StatusPoll result) {
            asking_ = false;
            // Told against what the pages show, not against the poll before: another exchange
            // (the identification) may have classified the mouse in between.
            if (result.ok) {
                host_.reportMouseKind(result.after);
            }
            emit done();
        });
}

} // namespace zav
