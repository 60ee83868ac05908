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
#include <QHash>

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

// Standard output when OUT is "-", so a label can go down a pipe.
Result<void> writeOut(const QString& out, const QByteArray& bytes) {
    if (out == kStandardStream)
        return writeStandardOutput(bytes);
    return base::writeFileAtomically(out, bytes);
}

// With several reports OUT is a folder holding one label per serial; a serial
// seen before in this run gets a suffix, so no label replaces another.
class LabelPaths {
public:
    LabelPaths(QString out, bool many, QString extension)
        : m_out(std::move(out)), m_many(many), m_extension(std::move(extension)) {}

    QString next(const report::Report& report) {
        if (!m_many)
            return m_out;
        const int seen = ++m_seen[report.serial];
        const QString suffix = seen == 1 ? QString() : QStringLiteral("-%1").arg(seen);
        return QDir(m_out).filePath(report.serial + suffix + m_extension);
    }

private:
    QString m_out;
    bool m_many;
    QString m_extension;
    QHash<QString, int> m_seen;
};

Result<void> writeLabel(const CommandLine& line, const QString& file, LabelPaths& paths) {
    const Result<report::Report> report = readValidatedReport(line, file);
    if (!report)
        return report.error();
    const label::Label label = labelFor(*report);
    return writeOut(paths.next(*report), line.has(kPngOption) ? pngBytes(label) : label.toPdf());
}

// Labels go only into a folder that exists: a mistyped path must not leave
// new folders behind.
std::optional<QString> missingFolder(const QString& out) {
    const QString folder = QFileInfo(out).absolutePath();
    return out == kStandardStream || QFileInfo(folder).isDir() ? std::nullopt : std::optional(folder);
}

int runLabel(const CommandLine& line) {
    if (line.has(kPngOption) == line.has(kPdfOption))
        return usageError(QStringLiteral("请只给出 --png OUT 或 --pdf OUT 中的一个。"), kLabelSynopsis);
    const bool png = line.has(kPngOption);
    const QString out = line.option(png ? kPngOption : kPdfOption);
    const bool many = line.positional.size() > 1;
    if (many && !QFileInfo(out).isDir())
        return usageError(QStringLiteral("给出多份报告时，OUT 必须是已存在的文件夹：") + QDir::toNativeSeparators(out),
                          kLabelSynopsis);
    if (const auto folder = missingFolder(out); folder && !many)
        return fail(QStringLiteral("文件夹不存在：") + QDir::toNativeSeparators(*folder));
    LabelPaths paths(out, many, png ? QStringLiteral(".png") : QStringLiteral(".pdf"));
    int failures = 0;
    for (const QString& file : line.positional) {
        if (const Result<void> written = writeLabel(line, file, paths); !written) {
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
