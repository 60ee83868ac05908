#include "inspection/media/media_runtime.h"

#include "base/serial_queue.h"
#include "inspection/media/media_log.h"
#include "inspection/media/media_system_log.h"

#include <QCoreApplication>
#include <QTimer>

#include <future>
#include <memory>
#include <mutex>

namespace tagsmith::inspection::media {

base::SerialQueue& MediaRuntime::logQueue() {
    static base::SerialQueue log(QStringLiteral("local.tagsmith.media-log"));
    return log;
}

namespace {

struct LogPlace {
    std::mutex lock;
    std::unique_ptr<MediaLog> log; // guarded by lock
};

LogPlace& logPlace() {
    static LogPlace place{{},
                          std::make_unique<MediaLog>(mediaLogFolder(), MediaRuntime::logQueue(), writeMediaSystemLog)};
    return place;
}

} // namespace

// A hardware queue's last tasks log as they finish, also while the process
// exits and the queue drains in its destructor. Statics end in the reverse
// order of their making, so the log is made first to outlive the queues.
base::SerialQueue& MediaRuntime::queue() {
    logPlace();
    static base::SerialQueue audio(QStringLiteral("local.tagsmith.audio-hardware"));
    return audio;
}

base::SerialQueue& MediaRuntime::cameraQueue() {
    logPlace();
    static base::SerialQueue camera(QStringLiteral("local.tagsmith.camera-hardware"));
    return camera;
}

void MediaRuntime::log(const QString& message) {
    LogPlace& place = logPlace();
    std::lock_guard guard(place.lock);
    place.log->write(message);
}

void MediaRuntime::setLogDirectory(const QString& directory) {
    LogPlace& place = logPlace();
    std::lock_guard guard(place.lock);
    place.log = std::make_unique<MediaLog>(directory, logQueue(), writeMediaSystemLog);
}

bool MediaRuntime::flushLog(std::chrono::milliseconds limit) {
    auto written = std::make_shared<std::promise<void>>();
    std::future<void> done = written->get_future();
    logQueue().async([written] { written->set_value(); });
    return done.wait_for(limit) == std::future_status::ready;
}

void MediaRuntime::drain(std::function<void()> done, std::chrono::milliseconds limit) {
    drainQueues({&queue(), &cameraQueue()}, limit, std::move(done));
}

void drainQueues(const std::vector<base::SerialQueue*>& queues, std::chrono::milliseconds limit,
                 std::function<void()> done) {
    struct Waiting {
        std::size_t remaining;
        std::function<void()> done;
        void finish() {
            if (std::function<void()> callback = std::exchange(done, nullptr))
                callback();
        }
    };
    auto waiting = std::make_shared<Waiting>(Waiting{queues.size(), std::move(done)});
    if (queues.empty()) {
        waiting->finish();
        return;
    }
    for (base::SerialQueue* queue : queues) {
        queue->drain([waiting] {
            if (--waiting->remaining == 0)
                waiting->finish();
        });
    }
    // A stalled queue must not keep the application from quitting.
    QTimer::singleShot(limit, QCoreApplication::instance(), [waiting] { waiting->finish(); });
}

} // namespace tagsmith::inspection::media
