#include "inspection/media/camera_inspection.h"

#include "inspection/media/camera_preview_area.h"
#include "support/media_page_probe.h"

#include <gtest/gtest.h>

using namespace tagsmith::inspection;
using namespace tagsmith::inspection::media;
using namespace tagsmith::test;
using namespace std::chrono_literals;

namespace {

const QString kNotCompleted = QStringLiteral("摄像头未完成检测，请查看检测页");

class CameraPage : public testing::Test, public MediaPageScene {
public: // the failure cases arrange the fixture from outside
    CameraPage() { page->setResults(results); }
    ~CameraPage() override { hardware->startGate.set(true); }

    InspectionResult camera() const { return (*results)[InspectionItem::camera]; }
    bool previewShown() const { return page->view()->findChild<CameraPreviewArea*>()->hasLayer(); }
    bool previewing() const {
        return waitUntil([this] { return previewShown() && camera().state == InspectionState::needsConfirmation; });
    }

    std::shared_ptr<FakeCameraHardware> hardware = std::make_shared<FakeCameraHardware>(record);
    std::shared_ptr<CameraInspection> page = std::make_shared<CameraInspection>(setup<CameraHardware>(hardware, 400ms));
    MediaPageProbe probe{page->view()};
};

TEST_F(CameraPage, PreviewUnlocksTheVerdictWhichSurvivesClosing) {
    page->start();
    ASSERT_TRUE(previewing());
    EXPECT_TRUE(camera().canConfirm);
    EXPECT_EQ(probe.status(), QStringLiteral("实时预览：FaceTime高清摄像头。请现场确认画面是否正常。"));
    std::optional<bool> released;
    page->releaseForAudio([&released](bool ok) { released = ok; });
    EXPECT_FALSE(previewShown()) << "the picture goes before the camera has stopped";
    EXPECT_EQ(probe.status(), QStringLiteral("正在关闭摄像头…"));
    ASSERT_TRUE(probe.endsWith(QStringLiteral("摄像头已关闭。")));
    EXPECT_EQ(released, true) << "the audio page may open its devices only now";
    EXPECT_EQ(camera().state, InspectionState::needsConfirmation);
    EXPECT_FALSE(record.isOpen(fakeCamera));
    page->stop();
    ASSERT_TRUE(settle(queue));
    EXPECT_EQ(hardware->stops, 1) << "a released camera is not stopped again";
}

struct Failure {
    const char* name;
    std::function<void(CameraPage&)> arrange;
    QString status;
};

class CameraPageFailure : public CameraPage, public testing::WithParamInterface<Failure> {};

TEST_P(CameraPageFailure, EndsReleasedWithTheItemPending) {
    GetParam().arrange(*this);
    page->start();
    if (GetParam().status.startsWith(QStringLiteral("摄像头运行失败"))) {
        ASSERT_TRUE(previewing());
        hardware->breakDown(QStringLiteral("设备已断开"));
    }
    ASSERT_TRUE(probe.endsWith(GetParam().status)) << probe.status().toStdString();
    EXPECT_EQ(camera(), (InspectionResult{InspectionState::pending, kNotCompleted}));
    EXPECT_FALSE(previewShown());
    EXPECT_FALSE(record.isOpen(fakeCamera));
}

INSTANTIATE_TEST_SUITE_P(
    InspectionMedia, CameraPageFailure,
    testing::Values(
        Failure{"PermissionDenied", [](CameraPage& test) { test.grant = false; },
                QStringLiteral("未允许摄像头权限。请在系统设置 → 隐私与安全性 → 摄像头中授权。")},
        Failure{"AudioNotReleased",
                [](CameraPage& test) { test.page->setPrepareForUse([](ReleaseCompletion done) { done(false); }); },
                QStringLiteral("声音设备释放超时，摄像头未启动。请稍后重试。")},
        Failure{"AudioNeverAnswers", [](CameraPage& test) { test.page->setPrepareForUse([](ReleaseCompletion) {}); },
                QStringLiteral("声音设备尚未释放，摄像头未启动。请停止声音测试后重试。")},
        Failure{"SessionBreaksDown", [](CameraPage&) {}, QStringLiteral("摄像头运行失败：设备已断开")}),
    [](const testing::TestParamInfo<Failure>& info) { return std::string(info.param.name); });

TEST_F(CameraPage, StalledStartTimesOutAndItsLateSuccessShowsNothing) {
    hardware->startGate.set(false);
    page->start();
    const QString timedOut = QStringLiteral("摄像头响应超时，正在释放设备。若持续无响应，请退出工具后重试。");
    ASSERT_TRUE(probe.shows(timedOut));
    ASSERT_TRUE(probe.shows(
        QStringLiteral("摄像头关闭超时，声音测试暂未启动。可继续其他检测；若绿灯持续亮，请退出工具后重试。")))
        << "the stop waits behind the stuck start";
    hardware->startGate.set(true);
    ASSERT_TRUE(probe.endsWith(timedOut));
    EXPECT_FALSE(previewShown());
    EXPECT_FALSE(record.isOpen(fakeCamera));
    EXPECT_EQ(camera().detail, kNotCompleted);
    page->start();
    EXPECT_TRUE(previewing()) << "a new attempt works once the release is confirmed";
}

TEST_F(CameraPage, ClosingDuringAStalledStartClosesTheLateCameraOnItsQueue) {
    hardware->startGate.set(false);
    page->start();
    ASSERT_TRUE(waitUntil([this] { return hardware->startGate.holding(); }));
    page->stop();
    hardware->startGate.set(true);
    ASSERT_TRUE(probe.endsWith(QStringLiteral("摄像头已关闭。")));
    EXPECT_FALSE(previewShown());
    EXPECT_FALSE(record.isOpen(fakeCamera));
    page->start();
    EXPECT_TRUE(previewing()) << "a new attempt works after the release";
}

TEST_F(CameraPage, PermissionAnsweredAfterClosingOpensNothing) {
    ASSERT_TRUE(grantAfterLeaving(*page, probe, QStringLiteral("摄像头已关闭。")));
    EXPECT_EQ(hardware->startGate.arrivals, 0);
    EXPECT_EQ(camera().detail, QStringLiteral("检测已停止，请重新打开预览"));
}

} // namespace
