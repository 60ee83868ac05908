#include "inspection/media/built_in_camera.h"

#include <QString>

#import <AVFoundation/AVFoundation.h>

namespace tagsmith::inspection::media {

// The media framework names a camera by its capture device's unique ID.
bool isBuiltInCamera(const QByteArray& id) {
    AVCaptureDevice* device = [AVCaptureDevice deviceWithUniqueID:QString::fromUtf8(id).toNSString()];
    return device != nil && [device.deviceType isEqualToString:AVCaptureDeviceTypeBuiltInWideAngleCamera];
}

} // namespace tagsmith::inspection::media
