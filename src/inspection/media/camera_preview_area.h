#pragma once

#include "inspection/media/camera_preview_layer.h"

#include <QImage>
#include <QMetaObject>
#include <QWidget>

#include <memory>

namespace tagsmith::inspection::media {

// The black area of the camera page that shows the live picture, scaled to
// fit without distortion. Main thread only.
class CameraPreviewArea : public QWidget {
    Q_OBJECT
public:
    explicit CameraPreviewArea(QWidget* parent = nullptr);

    // Shows the frames of layer from now on; a null layer empties the area at once.
    void setLayer(std::shared_ptr<CameraPreviewLayer> layer);
    bool hasLayer() const { return m_layer != nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<CameraPreviewLayer> m_layer;
    QMetaObject::Connection m_frames;
    QImage m_frame;
};

} // namespace tagsmith::inspection::media
