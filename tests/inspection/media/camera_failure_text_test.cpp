#include "inspection/media/camera_failure_text.h"

#include <gtest/gtest.h>

using tagsmith::inspection::media::cameraFailureText;

TEST(CameraFailureText, SystemMessagesBecomeTheOperatorsChineseText) {
    const QString busy = QStringLiteral("摄像头正被其他程序占用，请关闭其他占用摄像头的程序后重试。");
    const QString refused = QStringLiteral("没有摄像头使用权限，请在系统设置 → 隐私与安全性 → 摄像头中允许本软件。");
    const QString unavailable = QStringLiteral("设备暂不可用");
    const std::pair<const char*, QString> cases[] = {
        {"Camera is in use by another application.", busy},
        {"The user has not authorized access to the camera", refused},
        {"Failed to start the camera <b>now</b>", unavailable},
        {"", unavailable},
    };
    for (const auto& [message, expected] : cases)
        EXPECT_EQ(cameraFailureText(QString::fromUtf8(message)), expected) << message;
}
