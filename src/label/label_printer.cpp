#include "label/label_printer.h"

#include "base/atomic_file.h"
#include "label/label.h"
#include "label/label_print_dialog.h"
#include "label/label_rows.h"
#include "label/printer_command.h"

#include <QDir>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>

namespace tagsmith::label {

namespace {

const QString kQueue = QStringLiteral("Deli720W_40x30");
const QString kAutoPrintKey = QStringLiteral("autoPrint");
const QString kSubmittedKey = QStringLiteral("automaticallySubmittedSerials");

Label labelFor(const report::Report& report) {
    Label label;
    label.rows = lines(report);
    label.serial = report.serial;
    return label;
}

QStringList sorted(const QSet<QString>& serials) {
    QStringList list(serials.begin(), serials.end());
    std::sort(list.begin(), list.end());
    return list;
}

QString jobTitle(const QString& serial) {
    return QStringLiteral("MacBook ") + serial;
}

} // namespace

LabelPrinter::LabelPrinter(QSettings& settings, QString jobFolder, PrintTools tools)
    : m_settings(settings), m_jobFolder(std::move(jobFolder)), m_tools(std::move(tools)),
      m_autoPrint(settings.value(kAutoPrintKey, true).toBool()) {
    const QStringList submitted = settings.value(kSubmittedKey).toStringList();
    m_printed = QSet<QString>(submitted.begin(), submitted.end());
}

QString LabelPrinter::defaultJobFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tagsmith/PrintJobs");
}

void LabelPrinter::setAutoPrint(bool on) {
    m_autoPrint = on;
    m_settings.setValue(kAutoPrintKey, on);
}

std::optional<QString> LabelPrinter::submitAutomatically(const report::Report& report) {
    const QString& serial = report.serial;
    if (!m_autoPrint)
        return std::nullopt;
    if (m_printed.contains(serial))
        return QStringLiteral("已收到 ") + serial +
               QStringLiteral("。这台已自动提交过标签，重复回传不再打印；需要补打请点击预览并打印。");
    if (!hasKeyConfiguration(report))
        return QStringLiteral("报告已收到，但关键配置缺失或年份/尺寸不唯一，自动打印暂停。请检查报告后手动打印。");
    if (!queueExists())
        return QStringLiteral("未找到得力 Deli720W_40x30 队列，自动打印未执行。");
    if (!record(serial))
        return QStringLiteral("无法保存已打印记录，为防止重复出纸，自动打印未执行。请检查磁盘后手动打印。");
    if (printAutomatically(report))
        return QStringLiteral("已向得力打印队列提交 ") + serial +
               QStringLiteral(" 的标签。可断开并连接下一台；实际出纸请查看打印机。\n") + m_lastPrintResult;
    return QStringLiteral("打印结果未确认，为防止重复出纸，已停止自动重试。请检查队列，需要补打时点击预览并打印。\n") +
           m_lastPrintResult;
}

bool LabelPrinter::hasKeyConfiguration(const report::Report& report) {
    return report.cpu && report.chip && report.years.size() == 1 && report.inches.size() == 1 && report.batteryHealth;
}

bool LabelPrinter::queueExists() const {
    return printerCommand(m_tools.lpstat, {QStringLiteral("-p"), kQueue}).status == 0;
}

// The whole set is rewritten and flushed before the job goes out: a crash
// after this point can cost a label, never print one twice. Each attempt uses
// a settings object of its own, because one keeps its first error for good;
// a serial that could not be stored is taken back out, since nothing was printed.
bool LabelPrinter::record(const QString& serial) {
    m_printed.insert(serial);
    QSettings attempt(m_settings.fileName(), m_settings.format());
    attempt.setValue(kSubmittedKey, sorted(m_printed));
    attempt.sync();
    if (attempt.status() == QSettings::NoError)
        return true;
    m_printed.remove(serial);
    attempt.setValue(kSubmittedKey, sorted(m_printed));
    return false;
}

std::optional<QString> LabelPrinter::writeJobFile(const report::Report& report) {
    const QString path =
        QDir(m_jobFolder)
            .filePath(report.serial + u'_' + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() +
                      QStringLiteral(".pdf"));
    const Result<void> written = base::writeFileAtomically(path, labelFor(report).toPdf());
    if (!written) {
        m_lastPrintResult = written.error().description;
        return std::nullopt;
    }
    return path;
}

bool LabelPrinter::printAutomatically(const report::Report& report) {
    const std::optional<QString> jobFile = writeJobFile(report);
    if (!jobFile)
        return false;
    const PrinterCommandResult result = printerCommand(m_tools.lp, lpArguments(report.serial, *jobFile));
    m_lastPrintResult = result.output.trimmed();
    return result.status == 0;
}

QStringList LabelPrinter::lpArguments(const QString& serial, const QString& jobFile) {
    return {QStringLiteral("-d"),
            kQueue,
            QStringLiteral("-n"),
            QStringLiteral("1"),
            QStringLiteral("-t"),
            jobTitle(serial),
            QStringLiteral("-o"),
            QStringLiteral("PageSize=Label40x30"),
            QStringLiteral("-o"),
            QStringLiteral("Resolution=203dpi"),
            QStringLiteral("-o"),
            QStringLiteral("print-scaling=none"),
            jobFile};
}

QString LabelPrinter::preferredPrinter(const QStringList& printerNames) {
    const auto found = std::find_if(printerNames.begin(), printerNames.end(),
                                    [](const QString& name) { return name.toLower().contains(QStringLiteral("720")); });
    return found == printerNames.end() ? QString() : *found;
}

bool LabelPrinter::printManually(const report::Report& report, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    if (const QString name = preferredPrinter(QPrinterInfo::availablePrinterNames()); !name.isEmpty())
        printer.setPrinterName(name);
    printer.setPageSize(
        QPageSize(Label::sizeInPoints(), QPageSize::Point, QStringLiteral("Label40x30"), QPageSize::ExactMatch));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    printer.setCopyCount(1);
    printer.setDocName(jobTitle(report.serial));
    const Label label = labelFor(report);
    return runLabelPrintDialog(
        printer, [&label](QPainter& painter) { label.drawFilling(painter); }, parent);
}

} // namespace tagsmith::label
