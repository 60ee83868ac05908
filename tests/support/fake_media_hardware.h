#pragma once

#include "inspection/media/audio_hardware.h"
#include "inspection/media/camera_hardware.h"
#include "inspection/media/media_error.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace tagsmith::test {

// Holds a hardware call on its queue until the test opens it; gives way
// after a while, so that a failing test cannot hang.
class HardwareGate {
public:
    void set(bool open) {
        std::lock_guard lock(m_mutex);
        m_open = open;
        m_changed.notify_all();
    }
    void pass() {
        std::unique_lock lock(m_mutex);
        ++m_arrivals;
        ++m_holding;
        m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_open; });
        --m_holding;
    }
    // A call is held here right now.
    bool holding() {
        std::lock_guard lock(m_mutex);
        return m_holding > 0;
    }
    int arrivals() {
        std::lock_guard lock(m_mutex);
        return m_arrivals;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = true;
    int m_arrivals = 0;
    int m_holding = 0;
};

// Media events from every thread in the order they happened: the pages' log
// and the fake devices write here.
class EventLog {
public:
    void add(const QString& event) {
        std::lock_guard lock(m_mutex);
        m_events.append(event);
    }
    QStringList events() {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    // Position of the first event, -1 when it did not happen.
    qsizetype indexOf(const QString& event) { return events().indexOf(event); }
    std::function<void(const QString&)> writer() {
        return [this](const QString& event) { add(event); };
    }

private:
    std::mutex m_mutex;
    QStringList m_events;
};

// Which devices are open, shared by both fakes: opening one while the other
// is open is the conflict the hand-over must prevent.
struct DeviceLedger {
    void open(bool camera) {
        std::lock_guard lock(mutex);
        conflict = conflict || cameraOpen || audioOpen;
        (camera ? cameraOpen : audioOpen) = true;
    }
    void close(bool camera) {
        std::lock_guard lock(mutex);
        (camera ? cameraOpen : audioOpen) = false;
    }
    bool isOpen(bool camera) {
        std::lock_guard lock(mutex);
        return camera ? cameraOpen : audioOpen;
    }
    bool hadConflict() {
        std::lock_guard lock(mutex);
        return conflict;
    }

    std::mutex mutex;
    bool cameraOpen = false;
    bool audioOpen = false;
    bool conflict = false;
};

class FakeCameraHardware final : public inspection::media::CameraHardware {
public:
    FakeCameraHardware(DeviceLedger& ledger, EventLog& log) : m_ledger(ledger), m_log(log) {}

    Result<inspection::media::CameraPreview> start(std::function<void(const QString&)> onError) override {
        startGate.pass();
        std::lock_guard lock(m_mutex);
        if (m_failure)
            return *m_failure;
        m_ledger.open(true);
        m_log.add(QStringLiteral("fake.camera.open"));
        m_onError = std::move(onError);
        return inspection::media::CameraPreview{QStringLiteral("FaceTime高清摄像头"),
                                                std::make_shared<inspection::media::CameraPreviewLayer>()};
    }
    void stop() override {
        stopGate.pass();
        std::lock_guard lock(m_mutex);
        m_ledger.close(true);
        ++m_stops;
    }

    void failWith(const QString& message) {
        std::lock_guard lock(m_mutex);
        m_failure = inspection::media::mediaError(message);
    }
    // The running session fails, as the system reports it from its own thread.
    void breakDown(const QString& message) {
        std::function<void(const QString&)> report;
        {
            std::lock_guard lock(m_mutex);
            report = m_onError;
        }
        report(message);
    }
    int stops() {
        std::lock_guard lock(m_mutex);
        return m_stops;
    }

    HardwareGate startGate;
    HardwareGate stopGate;

private:
    std::mutex m_mutex;
    DeviceLedger& m_ledger;
    EventLog& m_log;
    std::optional<Error> m_failure;
    std::function<void(const QString&)> m_onError;
    int m_stops = 0;
};

class FakeAudioHardware final : public inspection::media::AudioHardware {
public:
    using AudioProgress = inspection::media::AudioProgress;

    // Starts with built-in stereo speakers and a built-in microphone as the defaults.
    FakeAudioHardware(DeviceLedger& ledger, EventLog& log) : m_ledger(ledger), m_log(log) {}

    inspection::media::AudioRoutes routes() override {
        routesGate.pass();
        std::lock_guard lock(m_mutex);
        return m_routes;
    }
    Result<void> start() override {
        std::lock_guard lock(m_mutex);
        if (m_startFailure)
            return *m_startFailure;
        m_ledger.open(false);
        m_log.add(QStringLiteral("fake.audio.open"));
        m_recording = true;
        return {};
    }
    Result<AudioProgress> poll() override {
        pollGate.pass();
        std::lock_guard lock(m_mutex);
        if (!m_script.empty()) {
            m_last = m_script.front();
            m_script.pop_front();
        }
        return m_last;
    }
    void stop() override {
        std::lock_guard lock(m_mutex);
        m_ledger.close(false);
        m_recording = false;
    }

    void setRoutes(const inspection::media::AudioRoutes& routes) {
        std::lock_guard lock(m_mutex);
        m_routes = routes;
    }
    void failStartWith(const QString& message) {
        std::lock_guard lock(m_mutex);
        m_startFailure = inspection::media::mediaError(message);
    }
    // The next poll answers; later polls repeat the last answer.
    void answer(const Result<AudioProgress>& next) {
        std::lock_guard lock(m_mutex);
        m_script.push_back(next);
    }
    bool hasRecording() {
        std::lock_guard lock(m_mutex);
        return m_recording;
    }

    HardwareGate routesGate;
    HardwareGate pollGate;

private:
    std::mutex m_mutex;
    DeviceLedger& m_ledger;
    EventLog& m_log;
    inspection::media::AudioRoutes m_routes{
        inspection::media::AudioRoute{QStringLiteral("MacBook Pro扬声器"), 73, true, 2},
        inspection::media::AudioRoute{QStringLiteral("MacBook Pro麦克风"), 66, true, 1}};
    std::optional<Error> m_startFailure;
    std::deque<Result<AudioProgress>> m_script;
    Result<AudioProgress> m_last = AudioProgress::recording(0, 0);
    bool m_recording = false;
};

} // namespace tagsmith::test
