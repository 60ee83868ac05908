#include "inspection/media/camera_preview_area.h"

#include <QPainter>

namespace tagsmith::inspection::media {

CameraPreviewArea::CameraPreviewArea(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CameraPreviewArea::setLayer(std::shared_ptr<CameraPreviewLayer> layer) {
    disconnect(m_frames);
    m_layer = std::move(layer);
    m_frame = QImage();
    // Queued: frames are emitted on the camera's thread, painted here.
    if (m_layer)
        m_frames = connect(
            m_layer.get(), &CameraPreviewLayer::frameChanged, this,
            [this](const QImage& frame) {
                m_frame = frame;
                update();
            },
            Qt::QueuedConnection);
    update();
}

void CameraPreviewArea::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_layer || m_frame.isNull())
        return;
    const QSize fitted = m_frame.size().scaled(size(), Qt::KeepAspectRatio);
    QRect target(QPoint(), fitted);
    target.moveCenter(rect().center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_frame);
}

} // namespace tagsmith::inspection::media
