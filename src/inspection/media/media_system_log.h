#pragma once

#include <QString>

namespace tagsmith::inspection::media {

// Emits one media event to the operating system's log (subsystem
// "local.tagsmith.inspector", category "media"); one definition per platform.
void writeMediaSystemLog(const QString& message);

// The folder of the media log file where this system keeps logs; one
// definition per platform.
QString mediaLogFolder();

} // namespace tagsmith::inspection::media
