#include "collect/system_profiler.h"

#include "base/process.h"
#include "base/read_file.h"
#include "collect/ordered_json.h"
#include "collect/report_assembly.h"

namespace tagsmith::collect {

namespace {

Error noSystemReport() {
    return {kCollectionErrorDomain, kNoSystemReport, QStringLiteral("系统没有返回有效报告，请重试。")};
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
    base::ProcessResult run = base::runProcess({.program = path,
                                                .arguments = systemProfilerArguments(),
                                                .environment = base::kCLocale,
                                                .timeLimit = limits.time,
                                                .outputLimit = limits.outputBytes});
    if (!run.succeeded())
        return noSystemReport();
    return std::move(run.output);
}

Result<JsonValue> readSystemReportFile(const QString& path) {
    const Result<QByteArray> bytes = base::readFileAtMost(path, kMaxSystemReportBytes);
    if (!bytes)
        return bytes.error();
    return readJsonObject(*bytes);
}

} // namespace tagsmith::collect
