#include "base/bundle.h"

#include <QFileInfo>

namespace tagsmith::base {

QString mainBundleLocation() {
    // Read before any Qt application object exists, so not applicationFilePath().
    const QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return executable.isEmpty() ? QString() : Bundle::pathForExecutable(executable);
}

} // namespace tagsmith::base
