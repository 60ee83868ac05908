#pragma once

#include "inspection/media/audio_hardware.h"
#include "inspection/media/camera_hardware.h"
#include "inspection/media/media_error.h"

#include <QStringList>

#include <atomic>
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
        ++arrivals;
        ++m_holding;
        m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_open; });
        --m_holding;
    }
    bool holding() const { return m_holding > 0; }

    std::atomic<int> arrivals = 0;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = true;
    std::atomic<int> m_holding = 0;
};

enum FakeDevice { fakeCamera, fakeAudio };

// What the pages logged and the fake devices did, from every thread, in order.
class DeviceRecord {
public:
    void add(const QString& event) {
        std::lock_guard lock(m_mutex);
        m_events.append(event);
    }
    QStringList events() {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    std::function<void(const QString&)> log() {
        return [this](const QString& event) { add(event); };
    }
    void setOpen(FakeDevice device, bool open) {
        std::lock_guard lock(m_mutex);
        m_open[device] = open;
        m_events.append(
            QStringLiteral("fake.%1.%2").arg(device == fakeCamera ? "camera" : "audio", open ? "open" : "close"));
    }
    bool isOpen(FakeDevice device) const { return m_open[device]; }

private:
    std::mutex m_mutex;
    QStringList m_events;
    std::atomic<bool> m_open[2] = {false, false};
};

// Configured by the test before the page starts it.
class FakeCameraHardware final : public inspection::media::CameraHardware {
public:
    explicit FakeCameraHardware(DeviceRecord& record) : m_record(record) {}

    Result<inspection::media::CameraPreview> start(std::function<void(const QString&)> onError) override {
        startGate.pass();
        m_record.setOpen(fakeCamera, true);
        m_onError = std::move(onError);
        return inspection::media::CameraPreview{QStringLiteral("FaceTime高清摄像头"),
                                                std::make_shared<inspection::media::CameraPreviewLayer>()};
    }
    void stop() override {
        m_record.setOpen(fakeCamera, false);
        ++stops;
    }
    // The running session fails, as the system reports it from its own thread.
    void breakDown(const QString& message) { m_onError(message); }

    HardwareGate startGate;
    std::atomic<int> stops = 0;

private:
    DeviceRecord& m_record;
    std::function<void(const QString&)> m_onError;
};

// Built-in stereo speakers and a built-in microphone unless the test says
// otherwise; each poll gives the next scripted answer, or repeats the last.
class FakeAudioHardware final : public inspection::media::AudioHardware {
public:
    using AudioProgress = inspection::media::AudioProgress;

    explicit FakeAudioHardware(DeviceRecord& record) : m_record(record) {}

    inspection::media::AudioRoutes routes() override { return devices; }
    Result<void> start() override {
        if (startFailure)
            return *startFailure;
        m_record.setOpen(fakeAudio, true);
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
    // Also deletes the recording.
    void stop() override { m_record.setOpen(fakeAudio, false); }
    void answer(const Result<AudioProgress>& next) {
        std::lock_guard lock(m_mutex);
        m_script.push_back(next);
    }

    inspection::media::AudioRoutes devices{
        inspection::media::AudioRoute{QStringLiteral("MacBook Pro扬声器"), 73, true, 2},
        inspection::media::AudioRoute{QStringLiteral("MacBook Pro麦克风"), 66, true, 1}};
    std::optional<Error> startFailure;
    HardwareGate pollGate;

private:
    DeviceRecord& m_record;
    std::mutex m_mutex;
    std::deque<Result<AudioProgress>> m_script;
    Result<AudioProgress> m_last = AudioProgress::recording(0, 0);
};

} // namespace tagsmith::test
