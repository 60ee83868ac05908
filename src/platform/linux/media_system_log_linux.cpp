#include "inspection/media/media_system_log.h"

#include <QDir>

#include <syslog.h>

#include <mutex>

namespace tagsmith::inspection::media {

void writeMediaSystemLog(const QString& message) {
    static std::once_flag opened;
    std::call_once(opened, [] { openlog("local.tagsmith.inspector", LOG_PID, LOG_USER); });
    syslog(LOG_NOTICE, "media: %s", message.toUtf8().constData());
}

// The XDG base directories put logs under the state folder.
QString mediaLogFolder() {
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base = QDir::isAbsolutePath(state) ? state : QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/Tagsmith");
}

} // namespace tagsmith::inspection::media
