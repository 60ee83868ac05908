#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <vector>

namespace tagsmith::base {
class SerialQueue;
}

namespace tagsmith::inspection::media {

// The process-wide queues and the event log shared by the camera and audio pages.
struct MediaRuntime {
    // How long the application's quit path waits for the hardware queues.
    static constexpr std::chrono::milliseconds kDrainLimit{3000};

    // Every audio hardware call runs here.
    static base::SerialQueue& queue();
    // Every camera hardware call runs here.
    static base::SerialQueue& cameraQueue();
    static base::SerialQueue& logQueue();

    // One media event, to the system log and to media.log in the system's log folder (mediaLogFolder).
    static void log(const QString& message);
    // Sends later events to media.log in the directory instead (the self-test's folder).
    static void setLogDirectory(const QString& directory);
    // Waits, at most limit, until every event logged so far is in the file.
    static bool flushLog(std::chrono::milliseconds limit);

    // Calls done on the main thread once both hardware queues ran everything
    // queued so far, or after limit, whichever comes first; exactly once.
    static void drain(std::function<void()> done, std::chrono::milliseconds limit = kDrainLimit);
};

// The waiting behind MediaRuntime::drain, for any queues.
void drainQueues(const std::vector<base::SerialQueue*>& queues, std::chrono::milliseconds limit,
                 std::function<void()> done);

} // namespace tagsmith::inspection::media
