#include "inspection/media/capture_permission.h"

#import <AVFoundation/AVFoundation.h>

#include <memory>

namespace tagsmith::inspection::media {

void requestCaptureAccess(CaptureDevice device, std::function<void(bool granted)> answer) {
    AVMediaType type = device == CaptureDevice::camera ? AVMediaTypeVideo : AVMediaTypeAudio;
    switch ([AVCaptureDevice authorizationStatusForMediaType:type]) {
    case AVAuthorizationStatusAuthorized:
        answer(true);
        return;
    case AVAuthorizationStatusNotDetermined: {
        // The block outlives this call; it keeps its own copy of the answer.
        auto shared = std::make_shared<std::function<void(bool)>>(std::move(answer));
        [AVCaptureDevice requestAccessForMediaType:type
                                 completionHandler:^(BOOL granted) {
                                   (*shared)(granted);
                                 }];
        return;
    }
    default:
        answer(false);
    }
}

} // namespace tagsmith::inspection::media
