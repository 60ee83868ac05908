#include "inspection/media/media_hand_over.h"

#include <utility>

namespace tagsmith::inspection::media {

std::shared_ptr<MediaHandOver> MediaHandOver::create(HandOverSettings settings, HandOverDisplay display) {
    return std::shared_ptr<MediaHandOver>(new MediaHandOver(std::move(settings), std::move(display)));
}

MediaHandOver::MediaHandOver(HandOverSettings settings, HandOverDisplay display)
    : m_settings(std::move(settings)), m_display(std::move(display)) {}

std::shared_ptr<MediaRequest> MediaHandOver::beginAttempt() {
    // A start while closing would race the release for the device.
    if (m_closing)
        return nullptr;
    ++m_generation;
    cancelRequest();
    m_watchdog.cancel();
    m_request = std::make_shared<MediaRequest>();
    m_released = false;
    return m_request;
}

void MediaHandOver::askToRelease(const std::shared_ptr<MediaRequest>& request,
                                 std::function<void(bool released)> answer) {
    std::weak_ptr<MediaHandOver> self = weak_from_this();
    prepareForUse([self, request, answer = std::move(answer)](bool released) {
        if (self.lock() && !request->isCancelled())
            answer(released);
    });
}

void MediaHandOver::cancelRequest() {
    if (m_request)
        m_request->cancel();
    m_request.reset();
}

void MediaHandOver::stopAndShow(const QString& message, ReleaseCompletion completion) {
    if (m_settings.answersAtOnceWhenReleased && m_released) {
        if (completion)
            completion(true);
        return;
    }
    if (m_closing) {
        joinRelease(std::move(completion));
        return;
    }
    if (completion)
        m_waiters.push_back(std::move(completion));
    m_closing = true;
    ++m_generation;
    cancelRequest();
    m_watchdog.cancel();
    if (m_display.closing)
        m_display.closing(message);
    armReleaseWatchdog(m_generation);
    stopOnQueue(m_generation, message);
}

void MediaHandOver::joinRelease(ReleaseCompletion completion) {
    if (!completion)
        return;
    // After a time-out nobody knows when the device comes free; waiting would hang the caller.
    if (m_releaseTimedOut)
        completion(false);
    else
        m_waiters.push_back(std::move(completion));
}

void MediaHandOver::armReleaseWatchdog(int generation) {
    m_watchdog.arm(m_settings.timeout, [this, generation] {
        if (generation != m_generation || !m_closing)
            return;
        m_releaseTimedOut = true;
        if (m_display.timedOut)
            m_display.timedOut();
        log(m_settings.timedOutEvent);
        finishRelease(false);
    });
}

void MediaHandOver::stopOnQueue(int generation, const QString& message) {
    std::weak_ptr<MediaHandOver> self = weak_from_this();
    m_settings.queue->async([self, stop = m_settings.stopHardware, generation, message] {
        stop();
        base::onMain([self, generation, message] {
            if (const std::shared_ptr<MediaHandOver> handOver = self.lock())
                handOver->confirmRelease(generation, message);
        });
    });
}

void MediaHandOver::confirmRelease(int generation, const QString& message) {
    if (generation != m_generation)
        return;
    m_watchdog.cancel();
    m_closing = false;
    m_released = true;
    m_releaseTimedOut = false;
    if (m_display.released)
        m_display.released(message);
    log(m_settings.confirmedEvent);
    finishRelease(true);
}

void MediaHandOver::finishRelease(bool released) {
    // Taken first: a waiter may start the other page, which may ask this one again.
    const std::vector<ReleaseCompletion> waiters = std::exchange(m_waiters, {});
    for (const ReleaseCompletion& waiter : waiters)
        waiter(released);
}

void MediaHandOver::log(const QString& event) const {
    if (m_settings.log)
        m_settings.log(event);
}

} // namespace tagsmith::inspection::media
