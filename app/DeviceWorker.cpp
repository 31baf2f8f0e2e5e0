#include "app/DeviceWorker.h"

#include <QMetaObject>
#include <QThread>

namespace zav {

DeviceWorker::DeviceWorker(QObject* parent) : QObject(parent), thread_(new QThread) {
    thread_->setObjectName("zavora-device");
    home_ = new QObject;
    home_->moveToThread(thread_);
    QObject::connect(thread_, &QThread::finished, home_, &QObject::deleteLater);
    thread_->start();
}

DeviceWorker::~DeviceWorker() {
    shutdown(2000);
    if (thread_->isRunning()) {
        // Stuck in a transfer that never returns: a running thread cannot be destroyed, so it is
        // left to the end of the process.
        return;
    }
    delete thread_;
}

bool DeviceWorker::shutdown(int ms) {
    if (stopped_) {
        return thread_->wait(QDeadlineTimer(ms));
    }
    stopped_ = true;
    // Queued behind the jobs already handed over, so those still run.
    QMetaObject::invokeMethod(
        home_, [thread = thread_] { thread->quit(); }, Qt::QueuedConnection);
    return thread_->wait(QDeadlineTimer(ms));
}

void DeviceWorker::enqueue(std::function<void()> job) {
    if (stopped_) {
        return;
    }
    if (pending_.fetch_add(1) == 0) {
        emit busyChanged(true);
    }
    QMetaObject::invokeMethod(home_, std::move(job), Qt::QueuedConnection);
}

void DeviceWorker::deliver(QPointer<QObject> context, std::function<void()> done) {
    // Runs on the device thread; the worker itself lives on the window's thread and outlives its jobs.
    QMetaObject::invokeMethod(
        this,
        [this, context = std::move(context), done = std::move(done)]() mutable {
            if (context) {
                done();
            }
            if (pending_.fetch_sub(1) == 1) {
                emit busyChanged(false);
            }
        },
        Qt::QueuedConnection);
}

} // namespace zav
