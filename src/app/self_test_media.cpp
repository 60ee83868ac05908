#include "app/self_test_checks.h"

#include "base/atomic_file.h"
#include "base/serial_queue.h"
#include "inspection/media/media_hand_over.h"
#include "inspection/media/speaker_test_wave.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <future>

namespace tagsmith::app {

namespace {

using inspection::media::HandOverSettings;
using inspection::media::MediaHandOver;
using inspection::media::ReleaseCompletion;

constexpr std::chrono::milliseconds kReleaseLimit{300};
constexpr int kAlternations = 8;

// The camera and the audio devices on fake hardware, opened and closed on
// their pages' queues. A camera stop can be held back to play a stuck device.
struct FakeDevices {
    std::atomic<bool> cameraOpen = false;
    std::atomic<bool> audioOpen = false;
    std::atomic<bool> overlapped = false;
    std::promise<void> stuckCamera;
    std::shared_future<void> cameraStopGate;

    bool open(std::atomic<bool>& device, const std::atomic<bool>& other) {
        if (other)
            overlapped = true;
        device = true;
        return true;
    }
    void closeCamera() {
        if (cameraStopGate.valid())
            std::exchange(cameraStopGate, {}).wait();
        cameraOpen = false;
    }
};

struct HandOverPair {
    base::SerialQueue cameraQueue{QStringLiteral("local.tagsmith.self-test.camera")};
    base::SerialQueue audioQueue{QStringLiteral("local.tagsmith.self-test.audio")};
    std::shared_ptr<FakeDevices> devices = std::make_shared<FakeDevices>();
    std::shared_ptr<MediaHandOver> camera;
    std::shared_ptr<MediaHandOver> audio;

    HandOverPair() {
        camera = MediaHandOver::create(settings(
                                           cameraQueue, [d = devices] { d->closeCamera(); }, true),
                                       {});
        audio = MediaHandOver::create(settings(
                                          audioQueue, [d = devices] { d->audioOpen = false; }, false),
                                      {});
        camera->prepareForUse = releaseOf(audio);
        audio->prepareForUse = releaseOf(camera);
    }

    static HandOverSettings settings(base::SerialQueue& queue, std::function<void()> stop, bool isCamera) {
        return {&queue,
                std::move(stop),
                kReleaseLimit,
                isCamera ? QStringLiteral("camera.release.confirmed") : QStringLiteral("audio.release.confirmed"),
                isCamera ? QStringLiteral("camera.stop.timeout") : QStringLiteral("audio.cleanup.timeout"),
                isCamera};
    }
    // Weak: the two pages refer to each other.
    static inspection::media::PrepareForUse releaseOf(const std::shared_ptr<MediaHandOver>& other) {
        return [weak = std::weak_ptr(other)](ReleaseCompletion completion) {
            if (const std::shared_ptr<MediaHandOver> page = weak.lock())
                page->stopAndShow(QString(), std::move(completion));
            else
                completion(false);
        };
    }

    // One start of a page: the other page's release, then the device; whether it opened.
    std::optional<bool> start(bool useCamera) {
        MediaHandOver& page = useCamera ? *camera : *audio;
        const std::shared_ptr<inspection::media::MediaRequest> request = page.beginAttempt();
        if (!request)
            return false;
        auto outcome = std::make_shared<std::optional<bool>>();
        std::shared_ptr<FakeDevices> fake = devices;
        page.askToRelease(request, [&page, request, outcome, fake, useCamera](bool released) {
            if (!released) {
                *outcome = false;
                return;
            }
            page.startOnQueue(
                request,
                [fake, useCamera] {
                    return useCamera ? fake->open(fake->cameraOpen, fake->audioOpen)
                                     : fake->open(fake->audioOpen, fake->cameraOpen);
                },
                [outcome](bool opened) { *outcome = opened; });
        });
        spinUntil([&outcome] { return outcome->has_value(); });
        return *outcome;
    }
};

} // namespace

std::optional<QString> checkMediaHandOver() {
    HandOverPair pair;
    for (int round = 0; round < kAlternations; ++round) {
        if (pair.start(round % 2 == 0) != true)
            return QStringLiteral("摄像头与音频第 %1 次交接未完成。").arg(round + 1);
    }
    if (pair.start(true) != true)
        return QStringLiteral("音频释放后摄像头未能打开。");
    pair.devices->cameraStopGate = pair.devices->stuckCamera.get_future().share();
    const bool gaveUp = pair.start(false) == false && pair.camera->releaseTimedOut();
    const bool refusedAtOnce = pair.start(false) == false;
    pair.devices->stuckCamera.set_value(); // the late confirmation
    if (!gaveUp)
        return QStringLiteral("摄像头释放卡住时，音频测试没有在时限后放弃。");
    if (!refusedAtOnce)
        return QStringLiteral("释放超时后，新的交接请求没有被立即拒绝。");
    if (!spinUntil([&pair] { return !pair.camera->isClosing() && !pair.camera->releaseTimedOut(); }))
        return QStringLiteral("迟到的释放确认没有清除超时状态。");
    if (pair.start(false) != true || pair.devices->overlapped)
        return QStringLiteral("迟到的确认之后交接仍不正常，或两个设备曾同时打开。");
    return std::nullopt;
}

std::optional<QString> writeSpeakerTestWave(const QDir& folder) {
    const QString path = folder.filePath(QStringLiteral("speaker-test.wav"));
    if (!base::writeFileAtomically(path, inspection::media::speakerTestWave()))
        return QStringLiteral("无法写入 ") + path;
    if (QFileInfo(path).size() != inspection::media::SpeakerTestWave::kFileSize)
        return QStringLiteral("测试音文件大小不符。");
    return std::nullopt;
}

} // namespace tagsmith::app
