#include "app/workstation_panel.h"

#include "app/frames.h"
#include "app/label_supplement_dialog.h"
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
#include <QStandardPaths>

namespace tagsmith::app {

namespace {

constexpr QSize kContentSize(700, 580);
constexpr int kMaxSupplementCharacters = 20;

QString digest(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

Error reportTooLarge() {
    return {report::kReportErrorDomain, report::kReportTooLarge, QStringLiteral("报告文件过大。")};
}

// A size attribute that cannot be read fails the import like a read error.
Result<report::Report> readImport(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return Error{QStringLiteral("文件"), 1,
                     QStringLiteral("无法读取文件 %1。").arg(QDir::toNativeSeparators(path))};
    if (info.size() > report::kMaxReportBytes)
        return reportTooLarge();
    const Result<QByteArray> bytes = base::readFileUpTo(path, report::kMaxReportBytes + 1);
    if (!bytes)
        return bytes.error();
    return report::validated(*bytes);
}

bool isAcceptableSupplement(const QString& text) {
    return text.size() <= kMaxSupplementCharacters && !text.contains(u'\n') && !text.contains(u'\r');
}

std::optional<QString> presentUnlessEmpty(const QString& text) {
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

} // namespace

QString WorkstationPlaces::defaultReportsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Tagsmith/Reports");
}

WorkstationPanel::WorkstationPanel(QSettings& settings, WorkstationPlaces places, QWidget* parent)
    : QWidget(parent), m_printer(settings, places.printJobsFolder, places.printTools), m_places(std::move(places)) {
    setFixedSize(kContentSize);
    buildControls();
}

WorkstationPanel::~WorkstationPanel() = default;

void WorkstationPanel::buildControls() {
    placed(wrappingLabel(QStringLiteral("数据线自动接收 → 打印标签"), 22, this, QFont::DemiBold), 24, 514, 650, 40);
    m_status = placed(wrappingLabel(QString(), 13, this), 24, 440, 650, 60);
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
}

void WorkstationPanel::showStatus(const QString& text) {
    m_status->setText(text);
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

bool WorkstationPanel::acceptReport(const report::Report& report, const QByteArray& bytes) {
    const QString hash = digest(bytes);
    if (hash == m_lastAccepted)
        return true; // the same report again: acknowledged, not saved, shown or printed twice
    const std::optional<QString> path = save(report, bytes);
    if (!path)
        return false;
    m_report = report;
    m_saved = path;
    show(report);
    m_extra->setEnabled(true);
    const QStringList warnings = report::resaleWarnings(report);
    showStatus(QStringLiteral("已通过数据线接收 ") + report.serial +
               QStringLiteral("，并与连接设备的序列号核对。请预览并打印。") +
               (warnings.isEmpty() ? QString() : u'\n' + warnings.join(u'\n')));
    if (window()) {
        window()->raise();
        window()->activateWindow();
    }
    m_lastAccepted = hash;
    // Printing waits until the receiver has acknowledged the report.
    base::onMain([self = QPointer(this), report] {
        if (self)
            if (const auto status = self->m_printer.submitAutomatically(report))
                self->showStatus(*status);
    });
    return true;
}

std::optional<QString> WorkstationPanel::save(const report::Report& report, const QByteArray& bytes) {
    const QString path = QDir(m_places.reportsFolder).filePath(report::reportFileName(report));
    const Result<void> written = base::writeFileAtomically(path, bytes);
    if (!written) {
        showStatus(QStringLiteral("接收到报告，但保存失败：") + written.error().description);
        return std::nullopt;
    }
    return path;
}

void WorkstationPanel::load(const QString& path) {
    clearReport();
    const Result<report::Report> imported = readImport(path);
    if (!imported) {
        showStatus(QStringLiteral("导入失败：") + imported.error().description);
        return;
    }
    m_report = *imported;
    show(*imported);
    m_extra->setEnabled(true);
    showStatus(QStringLiteral("已导入 ") + QFileInfo(path).fileName() +
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
    if (m_report)
        m_printer.printManually(*m_report, this);
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
    if (!m_report || !isAcceptableSupplement(trimmedDisk) || !isAcceptableSupplement(trimmedExterior))
        return false;
    m_report->disk = presentUnlessEmpty(trimmedDisk);
    m_report->exterior = presentUnlessEmpty(trimmedExterior);
    show(*m_report);
    return true;
}

} // namespace tagsmith::app
