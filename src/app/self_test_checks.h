#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QThread>

#include <chrono>
#include <optional>

class QDir;

namespace tagsmith::app {

// Parts of the inspection self-test that drive one page or the media
// hand-over on their own, with synthesised input and fake hardware. Each
// returns the first failure, if any. Main thread; they spin the event loop.
std::optional<QString> checkKeyboardRules();
std::optional<QString> checkColourSequence();
std::optional<QString> checkTouchpadRules();
std::optional<QString> checkMediaHandOver();
// The test tone, as the speakers play it, written to speaker-test.wav.
std::optional<QString> writeSpeakerTestWave(const QDir& folder);

// Runs the main thread's events until the condition holds or the limit passes.
template <typename Condition>
bool spinUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const QDeadlineTimer deadline(limit);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

} // namespace tagsmith::app
