#include "inspection/media/media_system_log.h"

#include <syslog.h>

#include <mutex>

namespace tagsmith::inspection::media {

void writeMediaSystemLog(const QString& message) {
    static std::once_flag opened;
    std::call_once(opened, [] { openlog("local.tagsmith.inspector", LOG_PID, LOG_USER); });
    syslog(LOG_NOTICE, "media: %s", message.toUtf8().constData());
}

} // namespace tagsmith::inspection::media
