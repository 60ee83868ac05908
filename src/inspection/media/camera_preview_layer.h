#pragma once

#include <QImage>
#include <QObject>

namespace tagsmith::inspection::media {

// The live picture of a running camera. The hardware creates it on its queue
// and emits frames from the capture thread, so the page connects to
// frameChanged with a queued connection and paints on the main thread.
class CameraPreviewLayer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    void frameChanged(const QImage& frame);
};

} // namespace tagsmith::inspection::media
