#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <type_traits>

class QThread;

namespace zav {

// The one thread that talks to the adapter. The window hands it a transfer and gets the result
// back on its own thread, so a stalled adapter never stops the window from repainting. Jobs run
// one after another in the order they were handed over.
class DeviceWorker : public QObject {
    Q_OBJECT
public:
    explicit DeviceWorker(QObject* parent = nullptr);
    ~DeviceWorker() override;

    // Runs `job` on the device thread, then `done(result)` on the window's thread, unless
    // `context` (an object of the window's thread) is gone by then.
    template <typename Job, typename Done>
    void run(QObject* context, Job job, Done done) {
        using Result = std::invoke_result_t<Job>;
        enqueue([post = post_, context = QPointer<QObject>(context), job = std::move(job),
                 done = std::move(done)]() mutable {
            if constexpr (std::is_void_v<Result>) {
                job();
                post(std::move(context), [done = std::move(done)]() mutable { done(); });
            } else {
                Result result = job();
                post(std::move(context), [done = std::move(done), result = std::move(result)]() mutable {
                    done(std::move(result));
                });
            }
        });
    }

    // True while a job is queued or running.
    bool busy() const;

    // Stops taking jobs, lets those already handed over run, and waits for them at most `ms`
    // milliseconds. False when the thread is still stuck in a transfer.
    bool shutdown(int ms);

signals:
    void busyChanged(bool busy);

private:
    class Mailbox;
    using Post = std::function<void(QPointer<QObject>, std::function<void()>)>;

    void enqueue(std::function<void()> job);

    QThread* thread_;
    QObject* home_ = nullptr; // lives on thread_
    // Lives on the window's thread and outlives this worker when a transfer never comes back, so a
    // late result still has somewhere safe to go.
    Mailbox* mailbox_;
    Post post_;
    bool stopped_ = false;
};

} // namespace zav
