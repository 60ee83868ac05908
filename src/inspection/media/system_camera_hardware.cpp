#include "inspection/media/system_camera_hardware.h"

#include "base/main_thread.h"
#include "inspection/media/built_in_camera.h"
#include "inspection/media/camera_failure_text.h"
#include "inspection/media/media_error.h"
#include "inspection/media/media_runtime.h"

#include <QCameraDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QVideoFrame>

#include <algorithm>
#include <optional>

namespace tagsmith::inspection::media {

namespace {

// The default camera first, as long as it is built in.
std::optional<QCameraDevice> builtInCamera() {
    QList<QCameraDevice> cameras = QMediaDevices::videoInputs();
    std::stable_partition(cameras.begin(), cameras.end(),
                          [](const QCameraDevice& camera) { return camera.isDefault(); });
    for (const QCameraDevice& camera : cameras) {
        if (isBuiltInCamera(camera.id()))
            return camera;
    }
    return std::nullopt;
}

// The sharpest picture the camera offers, then the smoothest.
std::optional<QCameraFormat> highQualityFormat(const QCameraDevice& device) {
    std::optional<QCameraFormat> best;
    const auto score = [](const QCameraFormat& format) {
        return std::pair(qint64(format.resolution().width()) * format.resolution().height(), format.maxFrameRate());
    };
    for (const QCameraFormat& format : device.videoFormats()) {
        if (!best || score(format) > score(*best))
            best = format;
    }
    return best;
}

QString yesNo(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

SystemCameraHardware::SystemCameraHardware(Log log) : m_log(std::move(log)) {}

SystemCameraHardware::SystemCameraHardware() : SystemCameraHardware(MediaRuntime::log) {}

Result<CameraPreview> SystemCameraHardware::start(std::function<void(const QString&)> onError) {
    Q_ASSERT(!base::isMainThread());
    const std::optional<QCameraDevice> device = builtInCamera();
    if (!device)
        return mediaError(QStringLiteral("未发现内置摄像头，请在系统信息中复核。"));
    if (Result<void> opened = openSession(*device); !opened)
        return opened.error();
    auto layer = std::make_shared<CameraPreviewLayer>();
    layer->moveToThread(QCoreApplication::instance()->thread());
    showFramesOn(layer);
    m_observer =
        QObject::connect(m_camera.get(), &QCamera::errorOccurred, m_camera.get(),
                         [onError](QCamera::Error, const QString& message) { onError(cameraFailureText(message)); });
    log(QStringLiteral("camera.startRunning.begin"));
    m_camera->start();
    log(QStringLiteral("camera.startRunning.end running=") + yesNo(m_camera->isActive()));
    if (!m_camera->isActive()) {
        stop();
        return mediaError(QStringLiteral("摄像头未能启动，请关闭其他占用摄像头的程序后重试。"));
    }
    return CameraPreview{device->description(), layer};
}

Result<void> SystemCameraHardware::openSession(const QCameraDevice& device) {
    m_session.reset(new QMediaCaptureSession);
    m_camera.reset(new QCamera(device));
    if (m_camera->error() != QCamera::NoError) {
        const QString reason = m_camera->errorString();
        drop();
        return mediaError(cameraFailureText(reason));
    }
    if (!m_camera->isAvailable()) {
        drop();
        return mediaError(QStringLiteral("无法添加摄像头输入，可能被其他程序占用。"));
    }
    if (const std::optional<QCameraFormat> format = highQualityFormat(device))
        m_camera->setCameraFormat(*format);
    m_session->setCamera(m_camera.get());
    return {};
}

// Frames arrive on the framework's own thread; they are converted there and
// handed to the preview, which paints them on the main thread.
void SystemCameraHardware::showFramesOn(const std::shared_ptr<CameraPreviewLayer>& layer) {
    m_sink.reset(new QVideoSink);
    std::weak_ptr<CameraPreviewLayer> target = layer;
    QObject::connect(
        m_sink.get(), &QVideoSink::videoFrameChanged, m_sink.get(),
        [target](const QVideoFrame& frame) {
            if (const std::shared_ptr<CameraPreviewLayer> preview = target.lock())
                Q_EMIT preview->frameChanged(frame.toImage());
        },
        Qt::DirectConnection);
    m_session->setVideoSink(m_sink.get());
}

void SystemCameraHardware::stop() {
    Q_ASSERT(!base::isMainThread());
    QObject::disconnect(m_observer);
    if (m_session) {
        log(QStringLiteral("camera.stopRunning.begin"));
        if (m_camera && m_camera->isActive())
            m_camera->stop();
        log(QStringLiteral("camera.preview.disconnect.begin"));
        if (m_sink)
            QObject::disconnect(m_sink.get(), nullptr, nullptr, nullptr);
        m_session->setVideoSink(nullptr);
        m_session->setCamera(nullptr);
        log(QStringLiteral("camera.stopRunning.end running=") + yesNo(m_camera && m_camera->isActive()) +
            QStringLiteral(" inputs=") + QString::number(m_session->camera() ? 1 : 0) + QStringLiteral(" outputs=") +
            QString::number(m_session->videoSink() ? 1 : 0));
    }
    drop();
}

void SystemCameraHardware::drop() {
    m_session.reset();
    m_sink.reset();
    m_camera.reset();
}

void SystemCameraHardware::log(const QString& event) const {
    if (m_log)
        m_log(event);
}

} // namespace tagsmith::inspection::media
