#include "inspection/media/media_system_log.h"

#include <QDir>

#include <os/log.h>

namespace tagsmith::inspection::media {

void writeMediaSystemLog(const QString& message) {
    static const os_log_t logger = os_log_create("local.tagsmith.inspector", "media");
    os_log(logger, "%{public}s", message.toUtf8().constData());
}

QString mediaLogFolder() {
    return QDir::homePath() + QStringLiteral("/Library/Logs/Lintwell");
}

} // namespace tagsmith::inspection::media
