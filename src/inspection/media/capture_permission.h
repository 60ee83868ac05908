#pragma once

#include <functional>

namespace tagsmith::inspection::media {

enum class CaptureDevice { camera, microphone };

// Answers whether the user allows this program to capture from the device,
// asking the user first when the system wants that. The answer may come on
// any thread, at once or much later. One definition per platform.
void requestCaptureAccess(CaptureDevice device, std::function<void(bool granted)> answer);

// How a media page asks; tests hand the pages their own.
using PermissionRequest = std::function<void(std::function<void(bool granted)> answer)>;

inline PermissionRequest capturePermission(CaptureDevice device) {
    return [device](std::function<void(bool granted)> answer) { requestCaptureAccess(device, std::move(answer)); };
}

} // namespace tagsmith::inspection::media
