#pragma once

#include "inspection/media/audio_hardware.h"
#include "inspection/media/camera_hardware.h"
#include "inspection/media/media_error.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tagsmith::test {

// Holds a hardware call on its queue until the test lets it through. A gate
// left closed gives way after a while, so a failing test cannot hang.
class Gate {
public:
    void close() {
        std::lock_guard lock(m_mutex);
        m_open = false;
    }
    void open() {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_changed.notify_all();
    }
    void pass() {
        std::unique_lock lock(m_mutex);
        m_holding = !m_open;
        m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_open; });
        m_holding = false;
    }
    // A call is waiting at the gate right now.
    bool isHolding() {
        std::lock_guard lock(m_mutex);
        return m_holding;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = true;
    bool m_holding = false;
};

// What the two devices did, seen across both hardware queues.
class DeviceLedger {
public:
    enum Device { camera, audio };

    void opened(Device device) {
        std::lock_guard lock(m_mutex);
        m_openedTwice = m_openedTwice || m_open[device];
        m_overlapped = m_overlapped || m_open[1 - device];
        m_open[device] = true;
        ++m_starts[device];
    }
    void closed(Device device) {
        std::lock_guard lock(m_mutex);
        m_open[device] = false;
        ++m_stops[device];
    }
    bool isOpen(Device device) const {
        std::lock_guard lock(m_mutex);
        return m_open[device];
    }
    bool openedTwice() const {
        std::lock_guard lock(m_mutex);
        return m_openedTwice;
    }
    bool overlapped() const {
        std::lock_guard lock(m_mutex);
        return m_overlapped;
    }
    int starts(Device device) const {
        std::lock_guard lock(m_mutex);
        return m_starts[device];
    }
    int stops(Device device) const {
        std::lock_guard lock(m_mutex);
        return m_stops[device];
    }

private:
    mutable std::mutex m_mutex;
    bool m_open[2] = {false, false};
    int m_starts[2] = {0, 0};
    int m_stops[2] = {0, 0};
    bool m_openedTwice = false;
    bool m_overlapped = false;
};

// Behaviour shared by the fake camera and the fake audio devices: gates on
// start and stop, and an optional latency that stands for slow hardware.
struct FakeDeviceControl {
    Gate startGate;
    Gate stopGate;
    std::chrono::milliseconds stopLatency{0};
};

class FakeCamera final : public inspection::media::CameraHardware {
public:
    FakeCamera(DeviceLedger& ledger, FakeDeviceControl& control) : m_ledger(ledger), m_control(control) {}

    Result<inspection::media::CameraPreview> start(std::function<void(const QString&)> /*onError*/) override {
        m_control.startGate.pass();
        m_ledger.opened(DeviceLedger::camera);
        return inspection::media::CameraPreview{QStringLiteral("FaceTime 高清摄像头"),
                                                std::make_shared<inspection::media::CameraPreviewLayer>()};
    }
    void stop() override {
        m_control.stopGate.pass();
        std::this_thread::sleep_for(m_control.stopLatency);
        m_ledger.closed(DeviceLedger::camera);
    }

private:
    DeviceLedger& m_ledger;
    FakeDeviceControl& m_control;
};

class FakeAudio final : public inspection::media::AudioHardware {
public:
    FakeAudio(DeviceLedger& ledger, FakeDeviceControl& control) : m_ledger(ledger), m_control(control) {}

    inspection::media::AudioRoutes routes() override { return {}; }
    Result<void> start() override {
        m_control.startGate.pass();
        m_ledger.opened(DeviceLedger::audio);
        return {};
    }
    Result<inspection::media::AudioProgress> poll() override {
        return inspection::media::mediaError(QStringLiteral("声音测试已停止，请重新开始。"));
    }
    void stop() override {
        m_control.stopGate.pass();
        std::this_thread::sleep_for(m_control.stopLatency);
        m_ledger.closed(DeviceLedger::audio);
    }

private:
    DeviceLedger& m_ledger;
    FakeDeviceControl& m_control;
};

} // namespace tagsmith::test
