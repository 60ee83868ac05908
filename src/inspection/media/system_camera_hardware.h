#pragma once

#include "inspection/media/camera_hardware.h"
#include "inspection/media/later_deleter.h"

#include <QCamera>
#include <QMediaCaptureSession>
#include <QMetaObject>
#include <QVideoSink>

#include <functional>
#include <memory>

namespace tagsmith::inspection::media {

// The built-in camera through the system's media framework: a capture
// session whose frames become the preview. Every call runs on the camera
// queue; the session's objects live there too.
class SystemCameraHardware final : public CameraHardware {
public:
    using Log = std::function<void(const QString&)>;

    explicit SystemCameraHardware(Log log);
    // Logs to the media log.
    SystemCameraHardware();

    Result<CameraPreview> start(std::function<void(const QString&)> onError) override;
    void stop() override;

private:
    Result<void> openSession(const QCameraDevice& device);
    void showFramesOn(const std::shared_ptr<CameraPreviewLayer>& layer);
    void drop();
    void log(const QString& event) const;

    Log m_log;
    LaterPtr<QCamera> m_camera;
    LaterPtr<QMediaCaptureSession> m_session;
    LaterPtr<QVideoSink> m_sink;
    QMetaObject::Connection m_observer; // runtime errors of the running camera
};

} // namespace tagsmith::inspection::media
