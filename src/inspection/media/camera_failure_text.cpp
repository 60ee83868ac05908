#include "inspection/media/camera_failure_text.h"

#include <QRegularExpression>

namespace tagsmith::inspection::media {

QString cameraFailureText(const QString& systemMessage) {
    static const QRegularExpression busy(QStringLiteral("busy|in use|used by"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression refused(QStringLiteral("permission|denied|not authori[sz]ed"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (systemMessage.contains(busy))
        return QStringLiteral("摄像头正被其他程序占用，请关闭其他占用摄像头的程序后重试。");
    if (systemMessage.contains(refused))
        return QStringLiteral("没有摄像头使用权限，请在系统设置 → 隐私与安全性 → 摄像头中允许本软件。");
    return QStringLiteral("设备暂不可用");
}

} // namespace tagsmith::inspection::media
