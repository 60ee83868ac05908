#include "app/workstation_panel.h"

#include "app/action_line.h"
#include "app/frames.h"
#include "app/history_view.h"
#include "app/label_supplement_dialog.h"
#include "app/receive_code_view.h"
#include "app/report_display.h"
#include "base/atomic_file.h"
#include "base/main_thread.h"
#include "base/read_file.h"
#include "collect/configuration_view.h"
#include "collect/resale_warning_widget.h"
#include "report/report_file.h"
#include "report/resale_facts.h"
#include "report/validation.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace tagsmith::app {

namespace {

constexpr QSize kContentSize(700, 580);

QString digest(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

Error reportTooLarge() {
    return {report::kReportErrorDomain, report::kReportTooLarge, QStringLiteral("报告文件过大。")};
}

// A missing file or a folder fails in the read, which says which it is.
Result<report::Report> readImport(const QString& path) {
    const QFileInfo info(path);
    if (info.isFile() && info.size() > report::kMaxReportBytes)
        return reportTooLarge();
    const Result<QByteArray> bytes = base::readFileUpTo(path, report::kMaxReportBytes + 1);
    if (!bytes)
        return bytes.error();
    return report::validated(*bytes);
}

// A relay report comes from no connected device, so there is no serial to
// check it against; it was opened with this workstation's own key.
QString receiptText(const QString& serial, ledger::IntakeSource source) {
    if (source == ledger::IntakeSource::relay)
        return QStringLiteral("已通过中转服务接收 ") + serial + QStringLiteral("（端到端加密）。请预览并打印。");
    return QStringLiteral("已通过数据线接收 ") + serial + QStringLiteral("，并与连接设备的序列号核对。请预览并打印。");
}

std::optional<QString> presentUnlessEmpty(const QString& text) {
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

} // namespace

QString WorkstationPlaces::defaultReportsFolder() {
    return ledger::Ledger::reportsFolderIn(ledger::Ledger::defaultDataFolder());
}

WorkstationPanel::WorkstationPanel(QSettings& settings, WorkstationPlaces places, QWidget* parent)
    : QWidget(parent), m_printer(settings, places.printJobsFolder, places.printTools), m_places(std::move(places)),
      m_ledger(ledger::Ledger::pathIn(QFileInfo(m_places.reportsFolder).path()), m_places.reportsFolder) {
    setFixedSize(kContentSize);
    buildControls();
    m_ledger.setFailureNotice([this](const QString& text) { showStatus(text); });
}

WorkstationPanel::~WorkstationPanel() = default;

void WorkstationPanel::buildControls() {
    placed(wrappingLabel(QStringLiteral("数据线自动接收 → 打印标签"), 22, this, QFont::DemiBold), 24, 514, 650, 40);
    m_status = placed(wrappingLabel(QString(), 13, this), 24, 440, 650, 60);
    m_actionLine = placed(new ActionLine(this), 24, 423, 650, 17);
    m_autoPrint = placed(new QCheckBox(QStringLiteral("收到报告后自动打印（每台一次）"), this), 24, 395, 480, 28);
    m_autoPrint->setChecked(m_printer.autoPrint());
    connect(m_autoPrint, &QCheckBox::toggled, this, [this](bool on) { m_printer.setAutoPrint(on); });
    m_body = new collect::ConfigurationView(inspection::flippedFrame(QRect(24, 140, 650, 250), height()), 14, this);
    m_warning = placed(new collect::ResaleWarningWidget(this), 24, 96, 650, 42);
    m_action = placed(new QPushButton(QStringLiteral("导入检测结果"), this), 24, 43, 165, 34);
    m_extra = placed(new QPushButton(QStringLiteral("预览并打印"), this), 205, 43, 165, 34);
    m_supplement = placed(new QPushButton(QStringLiteral("标签补充"), this), 390, 43, 130, 34);
    m_extra->setEnabled(false);
    connect(m_action, &QPushButton::clicked, this, &WorkstationPanel::importFile);
    connect(m_extra, &QPushButton::clicked, this, &WorkstationPanel::printReport);
    connect(m_supplement, &QPushButton::clicked, this, &WorkstationPanel::editLabel);
    m_receiveCode = placed(new ReceiveCodeView(this), 530, 8, 150, 90);
    m_receiveCode->hide();
    auto* history = placed(new QPushButton(QStringLiteral("历史"), this), 536, 43, 140, 34);
    connect(history, &QPushButton::clicked, this, &WorkstationPanel::showHistory);
}

void WorkstationPanel::showStatus(const QString& text) {
    m_status->setText(text);
}

void WorkstationPanel::showOutcome(const QString& text) {
    showStatus(text);
    m_actionLine->record(text);
}

void WorkstationPanel::show(const report::Report& report) {
    m_body->display(reportDisplayText(report));
    m_warning->showFor(&report);
}

void WorkstationPanel::clearReport() {
    m_report.reset();
    m_extra->setEnabled(false);
    m_body->display(QString());
    m_warning->showFor(nullptr);
}

bool WorkstationPanel::acceptReport(const report::Report& report, const QByteArray& bytes,
                                    ledger::IntakeSource source) {
    const QString hash = digest(bytes);
    if (hash == m_lastAccepted)
        return true; // the same report again: acknowledged, not saved, shown or printed twice
    const std::optional<QString> path = save(report, bytes);
    if (!path)
        return false;
    const QString fileName = QFileInfo(*path).fileName();
    m_ledger.record(ledger::intakeRecord(report, bytes, fileName, QDateTime::currentDateTimeUtc(), source));
    m_report = report;
    m_saved = path;
    show(report);
    m_extra->setEnabled(true);
    const QStringList warnings = report::resaleWarnings(report);
    showOutcome(receiptText(report.serial, source) + (warnings.isEmpty() ? QString() : u'\n' + warnings.join(u'\n')));
    if (window()) {
        window()->raise();
        window()->activateWindow();
    }
    m_lastAccepted = hash;
    // Printing waits until the receiver has acknowledged the report.
    base::onMain([self = QPointer(this), report, fileName] {
        if (self)
            self->submitAutomatically(report, fileName);
    });
    return true;
}

void WorkstationPanel::submitAutomatically(const report::Report& report, const QString& fileName) {
    const bool submittedBefore = m_printer.printed().contains(report.serial);
    if (const auto status = m_printer.submitAutomatically(report))
        showOutcome(*status);
    if (!submittedBefore && m_printer.printed().contains(report.serial))
        m_ledger.markLabelSubmitted(fileName, QDateTime::currentDateTimeUtc());
}

std::optional<QString> WorkstationPanel::save(const report::Report& report, const QByteArray& bytes) {
    const QString path = QDir(m_places.reportsFolder).filePath(report::reportFileName(report));
    const Result<void> written = base::writeFileAtomically(path, bytes);
    if (!written) {
        showOutcome(QStringLiteral("接收到报告，但保存失败：") + written.error().description);
        return std::nullopt;
    }
    return path;
}

void WorkstationPanel::load(const QString& path) {
    clearReport();
    const Result<report::Report> imported = readImport(path);
    if (!imported) {
        showOutcome(QStringLiteral("导入失败：") + imported.error().description);
        return;
    }
    m_report = *imported;
    show(*imported);
    m_extra->setEnabled(true);
    showOutcome(QStringLiteral("已导入 ") + QFileInfo(path).fileName() +
                QStringLiteral("。请核对整机序列号，随后预览打印。"));
}

void WorkstationPanel::importFile() {
    const QString start = QDir(QStringLiteral("/Volumes")).exists() ? QStringLiteral("/Volumes") : QDir::homePath();
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("导入检测结果"), start,
                                                      QStringLiteral("检测结果 (*.macreport)"));
    if (!path.isEmpty())
        load(path);
}

void WorkstationPanel::printReport() {
    if (m_report && m_printer.printManually(*m_report, this))
        m_actionLine->record(QStringLiteral("已打印 ") + m_report->serial + QStringLiteral(" 的标签。"));
}

HistoryView* WorkstationPanel::showHistory() {
    if (!m_history) {
        m_history = new HistoryView(m_ledger.path(), m_places.reportsFolder, this);
        connect(m_history, &HistoryView::closeRequested, m_history, &QWidget::hide);
        connect(m_history, &HistoryView::reprintRequested, this, &WorkstationPanel::reprintFromHistory);
    }
    m_history->show();
    m_history->raise();
    return m_history;
}

// The manual path, which the once-per-serial guard of automatic printing never stops.
void WorkstationPanel::reprintFromHistory() {
    if (m_history->chosen() && m_printer.printManually(*m_history->chosen(), this))
        m_ledger.markLabelSubmitted(m_history->chosenFile(), QDateTime::currentDateTimeUtc());
}

void WorkstationPanel::editLabel() {
    if (!m_report)
        return;
    LabelSupplementDialog dialog(m_report->disk.value_or(QString()), m_report->exterior.value_or(QString()), this);
    if (dialog.exec() == QDialog::Accepted)
        applyLabelSupplement(dialog.disk(), dialog.exterior());
}

bool WorkstationPanel::applyLabelSupplement(const QString& disk, const QString& exterior) {
    const QString trimmedDisk = disk.trimmed();
    const QString trimmedExterior = exterior.trimmed();
    if (!m_report)
        return false;
    QStringList refusals;
    for (const auto& refusal : {supplementRefusal(QStringLiteral("硬盘容量"), trimmedDisk),
                                supplementRefusal(QStringLiteral("A 型号"), trimmedExterior)})
        if (refusal)
            refusals.append(*refusal);
    if (!refusals.isEmpty()) {
        m_actionLine->record(QStringLiteral("标签补充未应用，两项均未改动：") + refusals.join(QStringLiteral("；")) +
                             u'。');
        return false;
    }
    m_report->disk = presentUnlessEmpty(trimmedDisk);
    m_report->exterior = presentUnlessEmpty(trimmedExterior);
    show(*m_report);
    m_actionLine->record(QStringLiteral("标签补充已应用，下次打印使用新内容。"));
    return true;
}

} // namespace tagsmith::app
