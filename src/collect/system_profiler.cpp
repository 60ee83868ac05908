#include "collect/system_profiler.h"

#include "base/read_file.h"
#include "collect/ordered_json.h"
#include "collect/report_assembly.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <algorithm>

namespace tagsmith::collect {

namespace {

Error noSystemReport() {
    return {kCollectionErrorDomain, kNoSystemReport, QStringLiteral("系统没有返回有效报告，请重试。")};
}

void startTool(QProcess& process, const QString& path) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(path, systemProfilerArguments(), QIODevice::ReadOnly);
}

// Reads until the tool exits; false when it overran a limit.
bool readToEnd(QProcess& process, const ToolLimits& limits, QByteArray& output) {
    const QDeadlineTimer deadline(limits.time);
    while (true) {
        output += process.readAllStandardOutput();
        if (output.size() > limits.outputBytes)
            return false;
        if (process.state() == QProcess::NotRunning)
            return true;
        if (deadline.hasExpired())
            return false;
        process.waitForReadyRead(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)));
    }
}

} // namespace

QStringList systemProfilerArguments() {
    return {QStringLiteral("SPHardwareDataType"),
            QStringLiteral("SPDisplaysDataType"),
            QStringLiteral("SPPowerDataType"),
            QStringLiteral("SPNVMeDataType"),
            QStringLiteral("SPSerialATADataType"),
            QStringLiteral("-json"),
            QStringLiteral("-timeout"),
            QStringLiteral("60")};
}

Result<QByteArray> runSystemProfiler(const QString& path, const ToolLimits& limits) {
    QProcess process;
    startTool(process, path);
    if (!process.waitForStarted(-1))
        return noSystemReport();
    QByteArray output;
    if (!readToEnd(process, limits, output)) {
        process.kill();
        process.waitForFinished(-1);
        return noSystemReport();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return noSystemReport();
    return output;
}

Result<JsonValue> readSystemReportFile(const QString& path) {
    const Result<QByteArray> bytes = base::readFileAtMost(path, kMaxSystemReportBytes);
    if (!bytes)
        return bytes.error();
    return readJsonObject(*bytes);
}

} // namespace tagsmith::collect
