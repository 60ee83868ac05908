#include "base/atomic_file.h"
#include "cli/help.h"
#include "cli/report_input.h"
#include "cli/resources.h"
#include "cli/verb.h"
#include "label/label.h"
#include "label/label_rows.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

#include <optional>

namespace tagsmith::cli {

namespace {

const QString kPngOption = QStringLiteral("--png");
const QString kPdfOption = QStringLiteral("--pdf");
const QString kLabelSynopsis = QStringLiteral("label FILE… (--png OUT | --pdf OUT) [--resources DIR]");

label::Label labelFor(const report::Report& report) {
    label::Label label;
    label.rows = label::lines(report);
    label.serial = report.serial;
    return label;
}

QByteArray pngBytes(const label::Label& label) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    label.toImage().save(&buffer, "PNG");
    return bytes;
}

// With several reports OUT is a folder holding one label per serial.
QString outputPath(const QString& out, bool many, const report::Report& report, const QString& extension) {
    return many ? QDir(out).filePath(report.serial + extension) : out;
}

Result<void> writeLabel(const CommandLine& line, const QString& file, bool many) {
    const Result<report::Report> report = readValidatedReport(line, file);
    if (!report)
        return report.error();
    const bool png = line.has(kPngOption);
    const QString out = line.option(png ? kPngOption : kPdfOption);
    const label::Label label = labelFor(*report);
    return base::writeFileAtomically(
        outputPath(out, many, *report, png ? QStringLiteral(".png") : QStringLiteral(".pdf")),
        png ? pngBytes(label) : label.toPdf());
}

// Labels go only into a folder that exists: a mistyped path must not leave
// new folders behind.
std::optional<QString> missingFolder(const QString& out, bool many) {
    const QString folder = many ? out : QFileInfo(out).absolutePath();
    return QFileInfo(folder).isDir() ? std::nullopt : std::optional(folder);
}

int runLabel(const CommandLine& line) {
    if (line.has(kPngOption) == line.has(kPdfOption))
        return usageError(QStringLiteral("请只给出 --png OUT 或 --pdf OUT 中的一个。"), kLabelSynopsis);
    const bool many = line.positional.size() > 1;
    if (const auto folder = missingFolder(line.option(line.has(kPngOption) ? kPngOption : kPdfOption), many))
        return fail(QStringLiteral("文件夹不存在：") + QDir::toNativeSeparators(*folder));
    int failures = 0;
    for (const QString& file : line.positional) {
        if (const Result<void> written = writeLabel(line, file, many); !written) {
            fail(QStringLiteral("%1：%2").arg(QDir::toNativeSeparators(file), written.error().description));
            ++failures;
        }
    }
    return failures == 0 ? kSuccess : kFailure;
}

int runRows(const CommandLine& line) {
    const Result<report::Report> report = readValidatedReport(line, line.positional.at(0));
    if (!report)
        return fail(report.error().description);
    printLines(label::lines(*report), line);
    return kSuccess;
}

} // namespace

QList<Verb> labelVerbs() {
    return {
        {{QStringLiteral("label")},
         kLabelSynopsis,
         1,
         -1,
         OptionSpec{{kPngOption, kPdfOption, kResourcesOption}, {}},
         runLabel},
        {{QStringLiteral("rows")},
         QStringLiteral("rows FILE [--json] [--resources DIR]"),
         1,
         1,
         OptionSpec{{kResourcesOption}, {kJsonOption}},
         runRows},
    };
}

} // namespace tagsmith::cli
