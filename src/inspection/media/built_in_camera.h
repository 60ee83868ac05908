#pragma once

#include <QByteArray>

namespace tagsmith::inspection::media {

// Whether the camera with this identifier (as the media framework names it)
// is built into the machine rather than plugged in or streamed from a phone.
// One definition per platform.
bool isBuiltInCamera(const QByteArray& id);

} // namespace tagsmith::inspection::media
