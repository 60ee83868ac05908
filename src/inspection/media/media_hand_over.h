#pragma once

#include "base/main_thread.h"
#include "base/serial_queue.h"
#include "inspection/media/media_request.h"
#include "inspection/media/media_runtime.h"
#include "inspection/media/release_completion.h"
#include "inspection/media/watchdog.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace tagsmith::inspection::media {

inline constexpr std::chrono::milliseconds kMediaTimeout{12000};

struct HandOverSettings {
    base::SerialQueue* queue = nullptr; // the page's hardware queue
    std::function<void()> stopHardware; // runs on queue; holds the hardware
    std::chrono::milliseconds timeout = kMediaTimeout;
    QString confirmedEvent; // logged when a release is confirmed
    QString timedOutEvent;  // logged when a release did not finish in time
    // The camera knows when its device is free and then answers a release at once.
    bool answersAtOnceWhenReleased = false;
    std::function<void(const QString&)> log = MediaRuntime::log;
};

// What the page shows during a release; called on the main thread.
struct HandOverDisplay {
    // At once: the visible output goes, running items return to pending, the start button is disabled.
    std::function<void(const QString& message)> closing;
    // The device is free: the start button comes back and the message is shown.
    std::function<void(const QString& message)> released;
    // The release did not finish in time.
    std::function<void()> timedOut;
};

// The hand-over between the camera page and the audio page, which never hold
// their devices at once: the state of one page's attempts and releases. All
// hardware calls run on the page's queue; everything else, this object
// included, stays on the main thread. Every wait is bounded by the watchdog,
// and answers that arrive after the operator moved on are dropped.
class MediaHandOver : public std::enable_shared_from_this<MediaHandOver> {
public:
    static std::shared_ptr<MediaHandOver> create(HandOverSettings settings, HandOverDisplay display);
    MediaHandOver(const MediaHandOver&) = delete;
    MediaHandOver& operator=(const MediaHandOver&) = delete;

    // A new attempt, abandoning the previous one; none while a release runs.
    [[nodiscard]] std::shared_ptr<MediaRequest> beginAttempt();
    // Asks the other page (prepareForUse) to release its device; answer runs
    // only while the attempt is still current.
    void askToRelease(const std::shared_ptr<MediaRequest>& request, std::function<void(bool released)> answer);
    // Opens the device on the queue. An attempt abandoned while it opened
    // closes the device right there and reports nothing.
    template <typename Start, typename Done>
    void startOnQueue(const std::shared_ptr<MediaRequest>& request, Start start, Done done);
    // Runs a call on the queue; the answer is dropped once the attempt was abandoned.
    template <typename Work, typename Done>
    void runOnQueue(const std::shared_ptr<MediaRequest>& request, Work work, Done done);

    void armWatchdog(std::chrono::milliseconds after, std::function<void()> action) {
        m_watchdog.arm(after, std::move(action));
    }
    void cancelWatchdog() { m_watchdog.cancel(); }
    void cancelRequest();

    // Releases the device and shows message once it is free; completion (if
    // any) learns whether the release finished in time.
    void stopAndShow(const QString& message, ReleaseCompletion completion = {});

    // Set by the suite: asks the other page to release its device.
    PrepareForUse prepareForUse = [](ReleaseCompletion completion) { completion(true); };

    std::chrono::milliseconds timeout() const { return m_settings.timeout; }
    int generation() const { return m_generation; }
    bool isClosing() const { return m_closing; }
    bool isReleased() const { return m_released; }
    bool releaseTimedOut() const { return m_releaseTimedOut; }
    std::size_t waiterCount() const { return m_waiters.size(); }
    const std::shared_ptr<MediaRequest>& request() const { return m_request; }

private:
    MediaHandOver(HandOverSettings settings, HandOverDisplay display);

    void joinRelease(ReleaseCompletion completion);
    void armReleaseWatchdog(int generation);
    void stopOnQueue(int generation, const QString& message);
    void confirmRelease(int generation, const QString& message);
    void finishRelease(bool released);
    void log(const QString& event) const;

    HandOverSettings m_settings;
    HandOverDisplay m_display;
    int m_generation = 0; // grows with every attempt and every release; stale answers compare it
    bool m_closing = false;
    bool m_released = true;
    bool m_releaseTimedOut = false;
    std::vector<ReleaseCompletion> m_waiters;
    std::shared_ptr<MediaRequest> m_request;
    Watchdog m_watchdog;
};

template <typename Start, typename Done>
void MediaHandOver::startOnQueue(const std::shared_ptr<MediaRequest>& request, Start start, Done done) {
    // Weak: the page may be gone by the time the hardware answers.
    std::weak_ptr<MediaHandOver> self = weak_from_this();
    m_settings.queue->async([self, request, start, done, stop = m_settings.stopHardware] {
        if (request->isCancelled())
            return;
        auto result = start();
        if (request->isCancelled()) {
            stop();
            return;
        }
        base::onMain([self, request, result, done] {
            if (self.lock() && !request->isCancelled())
                done(result);
        });
    });
}

template <typename Work, typename Done>
void MediaHandOver::runOnQueue(const std::shared_ptr<MediaRequest>& request, Work work, Done done) {
    std::weak_ptr<MediaHandOver> self = weak_from_this();
    m_settings.queue->async([self, request, work, done] {
        if (request->isCancelled())
            return;
        auto result = work();
        base::onMain([self, request, result, done] {
            if (self.lock() && !request->isCancelled())
                done(result);
        });
    });
}

} // namespace tagsmith::inspection::media
