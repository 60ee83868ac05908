#include "inspection/media/system_camera_hardware.h"

#include "inspection/media/camera_inspection.h"
#include "support/media_page_probe.h"

#include <gtest/gtest.h>

#include <QMediaDevices>

using namespace tagsmith::inspection;
using namespace tagsmith::inspection::media;
using namespace tagsmith::test;

TEST(SystemCamera, PageReportsAMissingCameraCleanly) {
    if (!QMediaDevices::videoInputs().isEmpty())
        GTEST_SKIP() << "this machine has a camera";
    MediaPageScene scene;
    const auto page = std::make_shared<CameraInspection>(
        scene.setup<CameraHardware>(std::make_shared<SystemCameraHardware>(scene.record.log()), kMediaTimeout));
    page->setResults(scene.results);
    page->start();
    const MediaPageProbe probe{page->view()};
    ASSERT_TRUE(probe.endsWith(QStringLiteral("摄像头未打开：未发现内置摄像头，请在系统信息中复核。")))
        << probe.status().toStdString();
    EXPECT_EQ((*scene.results)[InspectionItem::camera],
              (InspectionResult{InspectionState::pending, QStringLiteral("摄像头未完成检测，请查看检测页")}));
}
