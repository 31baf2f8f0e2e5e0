#include "device/DeviceWorker.h"

#include <QMetaObject>
#include <QThread>

namespace zav {

class DeviceWorker::Mailbox : public QObject {
public:
    explicit Mailbox(DeviceWorker* owner) : owner_(owner) {}
    // Only touched on the window's thread.
    DeviceWorker* owner_;
    std::atomic<int> pending_{0};
};

DeviceWorker::DeviceWorker(QObject* parent)
    : QObject(parent), thread_(new QThread), mailbox_(new Mailbox(this)) {
    thread_->setObjectName("zavora-device");
    home_ = new QObject;
    home_->moveToThread(thread_);
    QObject::connect(thread_, &QThread::finished, home_, &QObject::deleteLater);
    thread_->start();

    // Runs on the device thread: hands a result to the window's thread.
    post_ = [mailbox = mailbox_](QPointer<QObject> context, std::function<void()> done) {
        QMetaObject::invokeMethod(
            mailbox,
            [mailbox, context = std::move(context), done = std::move(done)]() mutable {
                if (context) {
                    done();
                }
                if (mailbox->pending_.fetch_sub(1) == 1 && mailbox->owner_ != nullptr) {
                    emit mailbox->owner_->busyChanged(false);
                }
            },
            Qt::QueuedConnection);
    };
}

DeviceWorker::~DeviceWorker() {
    shutdown(2000);
    mailbox_->owner_ = nullptr;
    if (thread_->isRunning()) {
        // Stuck in a transfer that never returns: a running thread cannot be destroyed, so the
        // thread and the mailbox its result goes to are left to the end of the process.
        return;
    }
    delete thread_;
    delete mailbox_;
}

bool DeviceWorker::busy() const {
    return mailbox_->pending_.load() > 0;
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
    if (mailbox_->pending_.fetch_add(1) == 0) {
        emit busyChanged(true);
    }
    QMetaObject::invokeMethod(home_, std::move(job), Qt::QueuedConnection);
}

} // namespace zav
