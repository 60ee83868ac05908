#include "inspection/media/media_hand_over.h"

#include "base/serial_queue.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <thread>

using namespace tagsmith::inspection::media;
using tagsmith::base::SerialQueue;
using tagsmith::test::waitUntil;
using namespace std::chrono_literals;

namespace {

// Holds a hardware call on its queue until the test opens it; gives way after
// a while, so that a failing test cannot hang.
class Gate {
public:
    void set(bool open) {
        std::lock_guard lock(m_mutex);
        m_open = open;
        m_changed.notify_all();
    }
    void pass() {
        std::unique_lock lock(m_mutex);
        m_holding = !m_open;
        m_changed.wait_for(lock, 10s, [this] { return m_open; });
        m_holding = false;
    }
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

enum Device { camera, audio };

// The camera and the audio devices as their hardware queues see them.
struct FakeDevices {
    bool start(Device device) {
        startGate[device].pass();
        std::lock_guard lock(mutex);
        conflict = conflict || open[camera] || open[audio]; // opened twice, or while the other was open
        open[device] = true;
        ++starts[device];
        return true;
    }
    void stop(Device device) {
        stopGate[device].pass();
        std::this_thread::sleep_for(stopLatency); // slow hardware, not a wait for a condition
        std::lock_guard lock(mutex);
        open[device] = false;
        ++stops[device];
    }
    template <typename Read> auto read(Read read) {
        std::lock_guard lock(mutex);
        return read();
    }

    std::mutex mutex;
    bool open[2] = {false, false};
    int starts[2] = {0, 0};
    int stops[2] = {0, 0};
    bool conflict = false;
    Gate startGate[2];
    Gate stopGate[2];
    std::chrono::milliseconds stopLatency{0};
};

// A media page reduced to the hand-over: it opens its device only once the
// other page released its own, and shows what a real page would show.
class HandOverPage {
public:
    HandOverPage(Device device, FakeDevices& devices, SerialQueue& queue, std::chrono::milliseconds timeout,
                 QStringList& log)
        : m_device(device), m_devices(devices) {
        const QString name = device == camera ? QStringLiteral("camera") : QStringLiteral("audio");
        HandOverSettings settings{&queue,
                                  [&devices, device] { devices.stop(device); },
                                  timeout,
                                  name + QStringLiteral(".release.confirmed"),
                                  name + QStringLiteral(".stop.timeout"),
                                  device == camera,
                                  [&log](const QString& event) { log.append(event); }};
        HandOverDisplay display{[this](const QString&) { showing = startEnabled = false; },
                                [this](const QString& message) {
                                    status = message;
                                    startEnabled = true;
                                },
                                [this] { status = QStringLiteral("release timed out"); }};
        handOver = MediaHandOver::create(std::move(settings), std::move(display));
    }

    void start() {
        std::shared_ptr<MediaRequest> request = startEnabled ? handOver->beginAttempt() : nullptr;
        if (!request)
            return;
        startEnabled = false;
        armStartWatchdog(request);
        handOver->askToRelease(request, [this, request](bool released) {
            if (!released)
                return handOver->stopAndShow(QStringLiteral("other device not released"));
            armStartWatchdog(request);
            handOver->startOnQueue(
                request, [this] { return m_devices.start(m_device); },
                [this](bool opened) {
                    handOver->cancelWatchdog();
                    showing = opened;
                });
        });
    }
    void release(ReleaseCompletion completion = {}) {
        handOver->stopAndShow(QStringLiteral("closed"), std::move(completion));
    }

    std::shared_ptr<MediaHandOver> handOver;
    bool startEnabled = true;
    bool showing = false;
    QString status;

private:
    void armStartWatchdog(const std::shared_ptr<MediaRequest>& request) {
        handOver->armWatchdog(handOver->timeout(), [this, request] {
            if (!request->isCancelled())
                handOver->stopAndShow(QStringLiteral("start timed out"));
        });
    }

    Device m_device;
    FakeDevices& m_devices;
};

// Both pages on their own queues, linked as the suite links them; every
// question and answer between them is counted.
class HandOver : public testing::Test {
protected:
    explicit HandOver(std::chrono::milliseconds timeout = 2s)
        : cameraPage(camera, devices, cameraQueue, timeout, log), audioPage(audio, devices, audioQueue, timeout, log) {
        cameraPage.handOver->prepareForUse = [this](ReleaseCompletion done) { ask(audioPage, std::move(done)); };
        audioPage.handOver->prepareForUse = [this](ReleaseCompletion done) { ask(cameraPage, std::move(done)); };
    }
    ~HandOver() override {
        for (Gate* gate : {&devices.startGate[0], &devices.startGate[1], &devices.stopGate[0], &devices.stopGate[1]})
            gate->set(true);
    }

    void ask(HandOverPage& other, ReleaseCompletion done) {
        other.release([this, done = std::move(done)](bool released) {
            answers.push_back(released);
            done(released);
        });
    }

    FakeDevices devices;
    SerialQueue cameraQueue{QStringLiteral("test.camera-hardware")};
    SerialQueue audioQueue{QStringLiteral("test.audio-hardware")};
    QStringList log;
    HandOverPage cameraPage;
    HandOverPage audioPage;
    std::vector<bool> answers;
};

class HandOverAlternation : public HandOver, public testing::WithParamInterface<std::chrono::milliseconds> {};

TEST_P(HandOverAlternation, EightSwitchesNeverOpenADeviceTwiceAndAnswerEveryWaiter) {
    devices.stopLatency = GetParam();
    for (int i = 0; i < 8; ++i) {
        HandOverPage& page = i % 2 == 0 ? cameraPage : audioPage;
        ASSERT_TRUE(waitUntil([&page] { return page.startEnabled; })) << i;
        page.start();
        ASSERT_TRUE(waitUntil([&page] { return page.showing; })) << i;
    }
    EXPECT_FALSE(devices.read([this] { return devices.conflict; }));
    EXPECT_EQ(devices.read([this] { return devices.starts[camera] + devices.starts[audio]; }), 8);
    EXPECT_EQ(answers, std::vector<bool>(8, true));
    EXPECT_EQ(cameraPage.handOver->waiterCount() + audioPage.handOver->waiterCount(), 0u);
    EXPECT_EQ(log.count(QStringLiteral("camera.release.confirmed")), 4);
}

INSTANTIATE_TEST_SUITE_P(InspectionMedia, HandOverAlternation, testing::Values(0ms, 40ms));

class HandOverTimeOut : public HandOver {
protected:
    HandOverTimeOut() : HandOver(500ms) {}
};

TEST_F(HandOverTimeOut, StalledReleaseAnswersFalseUntilALateConfirmation) {
    cameraPage.start();
    ASSERT_TRUE(waitUntil([this] { return cameraPage.showing; }));
    devices.stopGate[camera].set(false);
    audioPage.start();
    std::optional<bool> second;
    cameraPage.release([&second](bool released) { second = released; });
    EXPECT_FALSE(cameraPage.showing) << "the picture goes at once, before the device stops";

    ASSERT_TRUE(waitUntil([this] { return cameraPage.handOver->releaseTimedOut(); }));
    EXPECT_EQ(second, false);
    EXPECT_EQ(answers, std::vector<bool>({true, false}));
    EXPECT_EQ(cameraPage.status, QStringLiteral("release timed out"));
    EXPECT_TRUE(log.contains(QStringLiteral("camera.stop.timeout")));
    std::optional<bool> whileTimedOut;
    cameraPage.release([&whileTimedOut](bool released) { whileTimedOut = released; });
    EXPECT_EQ(whileTimedOut, false) << "answered at once, not queued behind the stuck device";
    ASSERT_TRUE(waitUntil([this] { return audioPage.startEnabled; }));
    EXPECT_FALSE(devices.read([this] { return devices.open[audio]; }));

    devices.stopGate[camera].set(true);
    ASSERT_TRUE(waitUntil([this] { return !cameraPage.handOver->isClosing(); }));
    EXPECT_FALSE(cameraPage.handOver->releaseTimedOut());
    EXPECT_TRUE(log.contains(QStringLiteral("camera.release.confirmed")));
    audioPage.start();
    ASSERT_TRUE(waitUntil([this] { return audioPage.showing; }));
    EXPECT_FALSE(devices.read([this] { return devices.conflict; }));
}

TEST_F(HandOverTimeOut, AbandonedStartClosesTheLateDeviceOnItsQueueAndShowsNothing) {
    for (bool byTheOperator : {true, false}) {
        devices.startGate[camera].set(false);
        cameraPage.start();
        ASSERT_TRUE(waitUntil([this] { return devices.startGate[camera].isHolding(); }));
        if (byTheOperator)
            cameraPage.release();
        ASSERT_TRUE(waitUntil([this] { return cameraPage.handOver->isClosing(); })) << "else the start watchdog";
        devices.startGate[camera].set(true);
        ASSERT_TRUE(waitUntil([this] { return cameraPage.startEnabled; }));
        EXPECT_FALSE(cameraPage.showing);
        EXPECT_FALSE(devices.read([this] { return devices.open[camera]; }));
    }
    EXPECT_EQ(devices.read([this] { return devices.stops[camera]; }), 4) << "each by the late start and the release";
    cameraPage.start();
    ASSERT_TRUE(waitUntil([this] { return cameraPage.showing; })) << "a new attempt works after the release";
}

} // namespace
