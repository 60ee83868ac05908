#pragma once

#include "base/result.h"
#include "inspection/media/camera_preview_layer.h"

#include <QString>

#include <functional>
#include <memory>

namespace tagsmith::inspection::media {

struct CameraPreview {
    QString name; // the device's name as the system shows it
    std::shared_ptr<CameraPreviewLayer> layer;
};

// The built-in camera. Both calls block and run on the camera queue, never on the main thread.
class CameraHardware {
public:
    virtual ~CameraHardware() = default;

    // onError is called later, from any thread, when the running session fails.
    virtual Result<CameraPreview> start(std::function<void(const QString&)> onError) = 0;
    virtual void stop() = 0;
};

} // namespace tagsmith::inspection::media
