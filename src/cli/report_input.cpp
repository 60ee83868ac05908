#include "cli/report_input.h"

#include "base/atomic_file.h"
#include "cli/resources.h"
#include "cli/verb.h"
#include "report/a_rules.h"
#include "report/report_file.h"
#include "report/validation.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace tagsmith::cli {

namespace {

// "-" stands for standard input, read within the same size limit as a file.
Result<QByteArray> readReportInput(const QString& path) {
    if (path != kStandardStream)
        return report::readReportFile(path);
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return Error{QStringLiteral("文件"), 1, QStringLiteral("无法读取标准输入。")};
    return input.read(report::kMaxReportBytes + 1);
}

} // namespace

bool saveReceivedReport(const QString& folder, const report::Report& report, const QByteArray& bytes) {
    const Result<void> written =
        base::writeFileAtomically(QDir(folder).filePath(report::reportFileName(report)), bytes);
    if (!written)
        std::fprintf(stderr, "接收到报告，但保存失败：%s\n", qUtf8Printable(written.error().description));
    return written.has_value();
}

void useResourceRules(const CommandLine& line) {
    if (report::aRules().isEmpty())
        report::setARules(report::loadARules(resourcePath(line, report::kARulesFileName)));
}

Result<ReportFile> readValidatedReportFile(const CommandLine& line, const QString& path) {
    useResourceRules(line);
    const Result<QByteArray> bytes = readReportInput(path);
    if (!bytes)
        return bytes.error();
    Result<report::Report> report = report::validated(*bytes);
    if (!report)
        return report.error();
    return ReportFile{std::move(*report), *bytes};
}

Result<report::Report> readValidatedReport(const CommandLine& line, const QString& path) {
    Result<ReportFile> file = readValidatedReportFile(line, path);
    if (!file)
        return file.error();
    return std::move(file->report);
}

} // namespace tagsmith::cli
