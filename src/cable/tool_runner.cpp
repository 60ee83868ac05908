#include "cable/tool_runner.h"

#include "base/command.h"

#include <QProcess>

namespace tagsmith::cable {

QString runTool(const QString& path, const QStringList& arguments, std::chrono::milliseconds watchdog) {
    if (!base::isExecutableFile(path))
        return {};
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(path, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        return {};
    if (!process.waitForFinished(int(watchdog.count()))) {
        process.kill();
        process.waitForFinished(-1);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace tagsmith::cable
