#include "inspection/inspection_results.h"
#include "inspection/media/audio_inspection.h"
#include "inspection/media/camera_inspection.h"
#include "inspection/media/camera_preview_area.h"
#include "support/fake_media_hardware.h"
#include "support/media_page_probe.h"

#include <gtest/gtest.h>

using namespace tagsmith::inspection;
using namespace tagsmith::inspection::media;
using namespace tagsmith::test;
using namespace std::chrono_literals;

namespace {

const QString kRecording = QStringLiteral("左声道播放中 · 麦克风同步录音…");

// Both media pages with fake devices on their own queues, linked as the suite links them.
class MediaPages : public testing::Test {
protected:
    MediaPages() {
        const PermissionRequest granted = [](std::function<void(bool)> answer) { answer(true); };
        camera = std::make_shared<CameraInspection>(
            MediaPageSetup<CameraHardware>{cameraHardware, &cameraQueue, granted, 400ms, record.log()});
        audio = std::make_shared<AudioInspection>(
            AudioInspectionSetup{{audioHardware, &audioQueue, granted, 400ms, record.log()}});
        camera->setResults(results);
        audio->setResults(results);
        camera->setPrepareForUse([this](ReleaseCompletion done) { audio->releaseForCamera(std::move(done)); });
        audio->setPrepareForUse([this](ReleaseCompletion done) { camera->releaseForAudio(std::move(done)); });
    }

    bool previewShown() const { return camera->view()->findChild<CameraPreviewArea*>()->hasLayer(); }
    // The last time each happened.
    bool happenedBefore(const QString& first, const QString& second) {
        const QStringList events = record.events();
        return events.contains(first) && events.lastIndexOf(first) < events.lastIndexOf(second);
    }

    DeviceRecord record;
    std::shared_ptr<FakeCameraHardware> cameraHardware = std::make_shared<FakeCameraHardware>(record);
    std::shared_ptr<FakeAudioHardware> audioHardware = std::make_shared<FakeAudioHardware>(record);
    tagsmith::base::SerialQueue cameraQueue{QStringLiteral("test.camera-hardware")};
    tagsmith::base::SerialQueue audioQueue{QStringLiteral("test.audio-hardware")};
    std::shared_ptr<InspectionResults> results = std::make_shared<InspectionResults>();
    std::shared_ptr<CameraInspection> camera;
    std::shared_ptr<AudioInspection> audio;
};

TEST_F(MediaPages, EightSwitchesOpenEachDeviceOnlyAfterTheOtherConfirmedItsRelease) {
    const MediaPageProbe cameraProbe{camera->view()};
    const MediaPageProbe audioProbe{audio->view()};
    for (int i = 0; i < 8; ++i) {
        if (i % 2 == 0) {
            ASSERT_TRUE(waitUntil([&] { return cameraProbe.canStart(); })) << i;
            camera->start();
            if (i == 2) {
                EXPECT_EQ(audioProbe.status(), QStringLiteral("正在停止并删除本次录音…"));
                EXPECT_EQ((*results)[InspectionItem::leftSpeaker].detail, QStringLiteral("检测未完成，请重新测试"));
            }
            ASSERT_TRUE(waitUntil([this] { return previewShown(); })) << i;
        } else {
            ASSERT_TRUE(waitUntil([&] { return audioProbe.canStart(); })) << i;
            audio->start();
            if (i == 1) {
                EXPECT_FALSE(previewShown()) << "the preview goes at once";
                EXPECT_EQ(cameraProbe.status(), QStringLiteral("正在关闭摄像头…"));
            }
            ASSERT_TRUE(audioProbe.shows(kRecording)) << i;
            EXPECT_EQ((*results)[InspectionItem::camera].state, InspectionState::needsConfirmation) << i;
        }
    }
    EXPECT_TRUE(happenedBefore(QStringLiteral("camera.release.confirmed"), QStringLiteral("fake.audio.open")));
    EXPECT_TRUE(happenedBefore(QStringLiteral("audio.release.confirmed"), QStringLiteral("fake.camera.open")));
    const QStringList events = record.events();
    EXPECT_EQ(events.count(QStringLiteral("fake.camera.open")), 4);
    EXPECT_EQ(events.count(QStringLiteral("fake.audio.open")), 4);
    EXPECT_EQ(events.count(QStringLiteral("camera.release.confirmed")), 4);
    EXPECT_FALSE(record.hadConflict());
}

} // namespace
