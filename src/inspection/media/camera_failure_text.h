#pragma once

#include <QString>

namespace tagsmith::inspection::media {

// What the operator reads for a camera failure that the system describes in
// its own words, which are English on most machines: the two causes an
// operator can act on, else the general "device unavailable".
QString cameraFailureText(const QString& systemMessage);

} // namespace tagsmith::inspection::media
