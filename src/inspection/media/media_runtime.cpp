#include "inspection/media/media_runtime.h"

#include "base/serial_queue.h"
#include "inspection/media/media_log.h"
#include "inspection/media/media_system_log.h"

#include <QCoreApplication>
#include <QTimer>

#include <memory>

namespace tagsmith::inspection::media {

base::SerialQueue& MediaRuntime::queue() {
    static base::SerialQueue audio(QStringLiteral("local.tagsmith.audio-hardware"));
    return audio;
}

base::SerialQueue& MediaRuntime::cameraQueue() {
    static base::SerialQueue camera(QStringLiteral("local.tagsmith.camera-hardware"));
    return camera;
}

base::SerialQueue& MediaRuntime::logQueue() {
    static base::SerialQueue log(QStringLiteral("local.tagsmith.media-log"));
    return log;
}

void MediaRuntime::log(const QString& message) {
    static MediaLog mediaLog(mediaLogFolder(), logQueue(), writeMediaSystemLog);
    mediaLog.write(message);
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
