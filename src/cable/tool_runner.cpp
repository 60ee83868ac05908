#include "cable/tool_runner.h"

#include "base/process.h"

namespace tagsmith::cable {

QString runTool(const QString& path, const QStringList& arguments, std::chrono::milliseconds watchdog) {
    return QString::fromUtf8(
        base::runProcess(
            {.program = path, .arguments = arguments, .environment = base::kCLocale, .timeLimit = watchdog})
            .output);
}

} // namespace tagsmith::cable
