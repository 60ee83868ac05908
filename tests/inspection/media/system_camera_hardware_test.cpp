#include "inspection/media/system_camera_hardware.h"

#include "inspection/inspection_results.h"
#include "inspection/media/camera_inspection_page.h"
#include "support/fake_media_hardware.h"
#include "support/media_page_probe.h"

#include <gtest/gtest.h>

#include <QMediaDevices>

using namespace tagsmith::inspection;
using namespace tagsmith::inspection::media;
using namespace tagsmith::test;

TEST(SystemCamera, PageReportsAMissingCameraCleanly) {
    if (!QMediaDevices::videoInputs().isEmpty())
        GTEST_SKIP() << "this machine has a camera";
    EventLog log;
    tagsmith::base::SerialQueue queue{QStringLiteral("test.camera-hardware")};
    auto results = std::make_shared<InspectionResults>();
    auto page = std::make_shared<CameraInspection>(MediaPageSetup<CameraHardware>{
        std::make_shared<SystemCameraHardware>(log.writer()), &queue,
        [](std::function<void(bool)> answer) { answer(true); }, kMediaTimeout, log.writer()});
    page->setResults(results);
    const MediaPageProbe probe{page->view()};

    page->start();
    ASSERT_TRUE(probe.shows(QStringLiteral("摄像头未打开：未发现内置摄像头，请在系统信息中复核。")))
        << probe.status().toStdString();
    ASSERT_TRUE(waitUntil([&] { return probe.canStart(); }));
    EXPECT_EQ((*results)[InspectionItem::camera],
              (InspectionResult{InspectionState::pending, QStringLiteral("摄像头未完成检测，请查看检测页")}));
    EXPECT_TRUE(log.events().contains(QStringLiteral("camera.release.confirmed")));
}
