#include "app/application_run.h"

#include "app/controller.h"
#include "inspection/media/media_runtime.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace tagsmith::app {

namespace {

// How long the last media events may take to reach the log file.
constexpr std::chrono::milliseconds kLogFlushLimit{1000};

[[noreturn]] void endProcess(int status) {
    inspection::media::MediaRuntime::flushLog(kLogFlushLimit);
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace

void runApplication(bool isCollector, const QStringList& arguments) {
    {
        Controller controller(isCollector, arguments);
        QApplication::exec();
    }
    endProcess(0);
}

} // namespace tagsmith::app
