#pragma once

#include <QString>

namespace tagsmith::inspection::media {

// Emits one media event to the operating system's log (subsystem
// "local.tagsmith.inspector", category "media"); one definition per platform.
void writeMediaSystemLog(const QString& message);

} // namespace tagsmith::inspection::media
