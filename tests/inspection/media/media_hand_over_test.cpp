#include "inspection/media/media_hand_over.h"

#include "base/serial_queue.h"
#include "inspection/media/fake_media_hardware.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tagsmith::inspection::media;
using tagsmith::base::SerialQueue;
using tagsmith::test::DeviceLedger;
using tagsmith::test::FakeAudio;
using tagsmith::test::FakeCamera;
using tagsmith::test::FakeDeviceControl;
using tagsmith::test::waitUntil;
using namespace std::chrono_literals;

namespace {

// A media page reduced to the hand-over: it opens its device only after the
// other page released its own, and shows what a real page would show.
class HandOverPage {
public:
    HandOverPage(const QString& name, SerialQueue& queue, std::function<bool()> open, std::function<void()> close,
                 bool answersAtOnceWhenReleased, std::chrono::milliseconds timeout, QStringList& log)
        : m_name(name), m_open(std::move(open)) {
        HandOverSettings settings{&queue,
                                  std::move(close),
                                  timeout,
                                  name + QStringLiteral(".release.confirmed"),
                                  name + QStringLiteral(".stop.timeout"),
                                  answersAtOnceWhenReleased,
                                  [&log](const QString& event) { log.append(event); }};
        HandOverDisplay display{[this](const QString&) { showClosing(); },
                                [this](const QString& message) {
                                    startEnabled = true;
                                    status = message;
                                },
                                [this] { status = QStringLiteral("release timed out"); }};
        handOver = MediaHandOver::create(std::move(settings), std::move(display));
    }

    void start() {
        std::shared_ptr<MediaRequest> request = startEnabled ? handOver->beginAttempt() : nullptr;
        if (!request)
            return;
        startEnabled = false;
        status = QStringLiteral("waiting for the other device");
        armStartWatchdog(request);
        handOver->askToRelease(request, [this, request](bool released) {
            handOver->cancelWatchdog();
            if (!released)
                return handOver->stopAndShow(QStringLiteral("other device not released"));
            armStartWatchdog(request);
            handOver->startOnQueue(request, m_open, [this](bool opened) {
                handOver->cancelWatchdog();
                showing = opened;
            });
        });
    }
    void stop() { handOver->stopAndShow(m_name + QStringLiteral(" closed")); }
    void release(ReleaseCompletion completion) {
        handOver->stopAndShow(m_name + QStringLiteral(" closed"), std::move(completion));
    }

    std::shared_ptr<MediaHandOver> handOver;
    bool startEnabled = true;
    bool showing = false;
    QString status;

private:
    void showClosing() {
        showing = false;
        startEnabled = false;
        status = QStringLiteral("closing");
    }
    void armStartWatchdog(const std::shared_ptr<MediaRequest>& request) {
        handOver->armWatchdog(handOver->timeout(), [this, request] {
            if (!request->isCancelled())
                handOver->stopAndShow(QStringLiteral("start timed out"));
        });
    }

    QString m_name;
    std::function<bool()> m_open;
};

// Both pages on their own queues, cross-linked as the suite links them,
// counting every hand-over question and answer.
class HandOver : public testing::Test {
protected:
    explicit HandOver(std::chrono::milliseconds timeout = 2s)
        : camera(
              QStringLiteral("camera"), cameraQueue, [this] { return cameraHardware.start({}).has_value(); },
              [this] { cameraHardware.stop(); }, true, timeout, log),
          audio(
              QStringLiteral("audio"), audioQueue, [this] { return audioHardware.start().has_value(); },
              [this] { audioHardware.stop(); }, false, timeout, log) {
        camera.handOver->prepareForUse = [this](ReleaseCompletion completion) { ask(audio, std::move(completion)); };
        audio.handOver->prepareForUse = [this](ReleaseCompletion completion) { ask(camera, std::move(completion)); };
    }

    ~HandOver() override {
        for (FakeDeviceControl* control : {&cameraControl, &audioControl}) {
            control->startGate.open();
            control->stopGate.open();
        }
    }

    void ask(HandOverPage& other, ReleaseCompletion completion) {
        ++asked;
        other.release([this, completion = std::move(completion)](bool released) {
            answers.push_back(released);
            completion(released);
        });
    }

    DeviceLedger ledger;
    FakeDeviceControl cameraControl;
    FakeDeviceControl audioControl;
    FakeCamera cameraHardware{ledger, cameraControl};
    FakeAudio audioHardware{ledger, audioControl};
    SerialQueue cameraQueue{QStringLiteral("test.camera-hardware")};
    SerialQueue audioQueue{QStringLiteral("test.audio-hardware")};
    QStringList log;
    HandOverPage camera;
    HandOverPage audio;
    int asked = 0;
    std::vector<bool> answers;
};

class HandOverAlternation : public HandOver, public testing::WithParamInterface<std::chrono::milliseconds> {};

TEST_P(HandOverAlternation, EightSwitchesNeverOpenADeviceTwiceAndAnswerEveryWaiter) {
    cameraControl.stopLatency = GetParam();
    audioControl.stopLatency = GetParam();
    for (int i = 0; i < 8; ++i) {
        HandOverPage& page = i % 2 == 0 ? camera : audio;
        ASSERT_TRUE(waitUntil([&page] { return page.startEnabled; })) << i;
        page.start();
        ASSERT_TRUE(waitUntil([&page] { return page.showing; })) << i;
    }
    EXPECT_FALSE(ledger.overlapped());
    EXPECT_FALSE(ledger.openedTwice());
    EXPECT_EQ(ledger.starts(DeviceLedger::camera), 4);
    EXPECT_EQ(ledger.starts(DeviceLedger::audio), 4);
    EXPECT_EQ(answers, std::vector<bool>(8, true));
    EXPECT_EQ(asked, 8);
    EXPECT_EQ(camera.handOver->waiterCount() + audio.handOver->waiterCount(), 0u);
    EXPECT_EQ(log.count(QStringLiteral("camera.release.confirmed")), 4);
}

INSTANTIATE_TEST_SUITE_P(InspectionMedia, HandOverAlternation, testing::Values(0ms, 40ms),
                         [](const testing::TestParamInfo<std::chrono::milliseconds>& info) {
                             return info.param == 0ms ? std::string("StopsAtOnce") : std::string("SlowStops");
                         });

class StalledRelease : public HandOver {
protected:
    StalledRelease() : HandOver(500ms) {}
};

TEST_F(StalledRelease, AnswersWaitersFalseAfterTheTimeOutUntilALateConfirmation) {
    camera.start();
    ASSERT_TRUE(waitUntil([this] { return camera.showing; }));
    cameraControl.stopGate.close();

    audio.start();
    std::optional<bool> second;
    camera.release([&second](bool released) { second = released; });
    EXPECT_FALSE(camera.showing) << "the preview goes at once, before the device stops";
    ASSERT_TRUE(waitUntil([this] { return camera.handOver->releaseTimedOut(); }));
    EXPECT_EQ(second, false);
    EXPECT_EQ(camera.status, QStringLiteral("release timed out"));
    EXPECT_TRUE(log.contains(QStringLiteral("camera.stop.timeout")));
    EXPECT_EQ(answers, std::vector<bool>({true, false})) << "audio learnt that the camera is still held";
    ASSERT_TRUE(waitUntil([this] { return audio.startEnabled; }));
    EXPECT_FALSE(audio.showing);
    EXPECT_FALSE(ledger.isOpen(DeviceLedger::audio));

    std::optional<bool> whileTimedOut;
    camera.release([&whileTimedOut](bool released) { whileTimedOut = released; });
    EXPECT_EQ(whileTimedOut, false) << "answered at once, not queued behind the stuck device";

    cameraControl.stopGate.open();
    ASSERT_TRUE(waitUntil([this] { return !camera.handOver->isClosing(); }));
    EXPECT_FALSE(camera.handOver->releaseTimedOut());
    EXPECT_TRUE(camera.startEnabled);
    EXPECT_TRUE(log.contains(QStringLiteral("camera.release.confirmed")));

    audio.start();
    ASSERT_TRUE(waitUntil([this] { return audio.showing; }));
    EXPECT_FALSE(ledger.overlapped());
    EXPECT_EQ(camera.handOver->waiterCount(), 0u);
}

// How an attempt is abandoned while the device is still opening.
enum class Abandon { byTheOperator, byTheStartWatchdog };

class AbandonedStart : public HandOver, public testing::WithParamInterface<Abandon> {
protected:
    AbandonedStart() : HandOver(500ms) {}
};

TEST_P(AbandonedStart, ClosesTheLateDeviceOnItsQueueAndShowsNothing) {
    cameraControl.startGate.close();
    camera.start();
    ASSERT_TRUE(waitUntil([this] { return cameraControl.startGate.isHolding(); }));
    if (GetParam() == Abandon::byTheOperator)
        camera.stop();
    ASSERT_TRUE(waitUntil([this] { return camera.handOver->isClosing(); }));

    cameraControl.startGate.open();
    ASSERT_TRUE(waitUntil([this] { return camera.startEnabled; }));
    EXPECT_FALSE(camera.showing);
    EXPECT_EQ(ledger.starts(DeviceLedger::camera), 1);
    EXPECT_FALSE(ledger.isOpen(DeviceLedger::camera));
    EXPECT_EQ(ledger.stops(DeviceLedger::camera), 2) << "once by the late start, once by the release";

    camera.start();
    ASSERT_TRUE(waitUntil([this] { return camera.showing; })) << "a new attempt works once the release is confirmed";
}

INSTANTIATE_TEST_SUITE_P(InspectionMedia, AbandonedStart,
                         testing::Values(Abandon::byTheOperator, Abandon::byTheStartWatchdog),
                         [](const testing::TestParamInfo<Abandon>& info) {
                             return info.param == Abandon::byTheOperator ? std::string("ByTheOperator")
                                                                         : std::string("ByTheStartWatchdog");
                         });

TEST_F(HandOver, ReleasedCameraAnswersAtOnceWhileAudioAlwaysStopsItsDevice) {
    std::optional<bool> cameraAnswer;
    camera.release([&cameraAnswer](bool released) { cameraAnswer = released; });
    EXPECT_EQ(cameraAnswer, true);
    EXPECT_FALSE(camera.handOver->isClosing());

    std::optional<bool> audioAnswer;
    audio.release([&audioAnswer](bool released) { audioAnswer = released; });
    EXPECT_FALSE(audioAnswer.has_value());
    EXPECT_TRUE(audio.handOver->isClosing());
    EXPECT_EQ(audio.handOver->beginAttempt(), nullptr) << "no new attempt while the release runs";
    ASSERT_TRUE(waitUntil([&audioAnswer] { return audioAnswer.has_value(); }));
    EXPECT_EQ(audioAnswer, true);
    EXPECT_EQ(ledger.stops(DeviceLedger::audio), 1);
}

} // namespace
