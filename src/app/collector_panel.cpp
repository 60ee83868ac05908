#include "app/collector_panel.h"

#include "app/frames.h"
#include "app/report_display.h"
#include "base/bundle.h"
#include "base/detached_thread.h"
#include "base/main_thread.h"
#include "collect/configuration_view.h"
#include "collect/hardware_source.h"
#include "collect/resale_warning_widget.h"
#include "inspection/inspection_dashboard.h"
#include "inspection/inspection_suite.h"
#include "inspection/media/media_runtime.h"
#include "l10n/l10n.h"
#include "report/report_file.h"
#include "report/validation.h"

#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace tagsmith::app {

namespace {

constexpr QSize kContentSize(1060, 720);
constexpr QSize kOverviewSize(1010, 640);
const QString kOverviewIdentifier = QStringLiteral("验机总览");

} // namespace

CollectorServices CollectorServices::forBundle() {
    CollectorServices services;
    const base::Bundle& bundle = base::Bundle::main();
    std::shared_ptr<collect::HardwareSource> hardware = collect::systemHardwareSource();
    services.collect = [setup = collect::CollectionSetup::forBundle(bundle), hardware] {
        return collect::collectReport(setup, *hardware);
    };
    services.relayConfiguration =
        relay::RelayConfiguration::fromFile(bundle.resourcePath(relay::kRelayConfigurationFileName));
    services.keepAwake = [] { return preventIdleSleep(QStringLiteral("MacBook 等待数据线回传")); };
    return services;
}

CollectorPanel::CollectorPanel(CollectorServices services, bool preview, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)), m_preview(preview) {
    setFixedSize(kContentSize);
    m_tabs = new QTabWidget(this);
    m_tabs->setGeometry(inspection::flippedFrame(QRect(12, 12, 1036, 696), height()));
    QWidget* overview = buildOverview();
    m_inspection = std::make_unique<inspection::InspectionSuite>(m_tabs, std::move(m_services.pages));
    m_inspection->dashboard()->setParent(overview);
    m_inspection->dashboard()->setGeometry(
        inspection::flippedFrame(inspection::InspectionSuite::kDashboardFrame, overview->height()));
    m_inspection->dashboard()->show();
    if (m_preview)
        startPreview();
    else
        startService();
}

CollectorPanel::~CollectorPanel() {
    shutdown();
}

QWidget* CollectorPanel::buildOverview() {
    auto* overview = new QWidget;
    overview->setFixedSize(kOverviewSize);
    const int index = m_tabs->addTab(overview, L10n::t(QStringLiteral("inspector.overview")));
    m_tabs->tabBar()->setTabData(index, kOverviewIdentifier);
    buildColumn(overview);
    return overview;
}

void CollectorPanel::buildColumn(QWidget* overview) {
    placed(wrappingLabel(L10n::t(QStringLiteral("common.configuration")), 22, overview, QFont::DemiBold), 24, 574, 290,
           40);
    m_body = new collect::ConfigurationView(inspection::flippedFrame(QRect(24, 292, 290, 270), overview->height()), 12,
                                            overview);
    m_warning = placed(new collect::ResaleWarningWidget(overview), 24, 246, 290, 44);
    m_relay = new RelayControls(overview, m_services.relayConfiguration);
    m_relay->setReportSource([this]() -> std::optional<report::Report> {
        if (m_preview || m_collecting)
            return std::nullopt;
        return m_report;
    });
    m_status = placed(wrappingLabel(QString(), 13, overview), 24, 78, 290, 55);
    m_action =
        placed(new QPushButton(L10n::t(QStringLiteral("common.collectConfiguration")), overview), 24, 43, 290, 34);
    connect(m_action, &QPushButton::clicked, this, &CollectorPanel::collect);
}

report::Report CollectorPanel::sampleReport() {
    report::Report sample;
    sample.collectedAt = QStringLiteral("2026-09-26T14:18:37Z");
    sample.serial = QStringLiteral("TEST123456");
    sample.model = QStringLiteral("Mac15,7");
    sample.name = QStringLiteral("MacBook Pro");
    sample.years = {QStringLiteral("2023")};
    sample.inches = {QStringLiteral("16")};
    sample.chip = QStringLiteral("Apple M3 Pro");
    sample.cpu = 12;
    sample.gpu = 18;
    sample.memory = QStringLiteral("36 GB");
    sample.batteryHealth = QStringLiteral("94%");
    sample.cycles = 193;
    sample.batteryCondition = QStringLiteral("Good");
    sample.disk = QStringLiteral("512G");
    sample.exterior = QStringLiteral("A2991");
    return sample;
}

void CollectorPanel::startPreview() {
    setStatus(QStringLiteral("本机界面预览：未启动采集、回传或打印。"));
    m_report = sampleReport();
    show(*m_report);
    m_action->setEnabled(false);
}

void CollectorPanel::startService() {
    QPointer<CollectorPanel> self(this);
    // The server calls back from its own threads; both hop to the main thread and may outlive the window.
    m_services.server->onSent = [self] {
        base::onMain([self] {
            if (!self)
                return;
            self->m_transferred = true;
            self->setStatus(QStringLiteral(
                "已回传已授权的工作机。请在工作端确认打印结果。\n可断开数据线并换下一台，工具可继续保持运行。"));
        });
    };
    m_services.server->onError = [self](const QString& text) {
        base::onMain([self, text] {
            if (self)
                self->setStatus(text);
        });
    };
    m_cableReceiver =
        std::make_unique<cable::CableReceiver>(m_services.server, m_services.cablePort, m_services.cableLinks);
    m_cableReceiver->start();
    if (m_services.keepAwake)
        m_sleepAssertion = m_services.keepAwake();
    collect();
}

void CollectorPanel::collect() {
    if (m_collecting || m_preview || !m_services.collect)
        return;
    m_collecting = true;
    m_transferred = false;
    m_services.server->setReport(std::nullopt);
    m_report.reset();
    m_saved.reset();
    m_action->setEnabled(false);
    m_body->display(QString());
    m_warning->showFor(nullptr);
    setStatus(QStringLiteral("正在采集，请稍候…\n显示“已准备好”后可安全推出 U 盘。"));
    QPointer<CollectorPanel> self(this);
    const bool started = base::runDetached([self, collectReport = m_services.collect] {
        Result<collect::CollectedReport> collected = collectReport();
        base::onMain([self, collected = std::move(collected)] {
            if (!self)
                return;
            if (collected)
                self->finish(*collected);
            else
                self->failed(collected.error());
        });
    });
    if (!started)
        failed({QStringLiteral("采集"), 1, QStringLiteral("本机无法启动采集任务，请重试。")});
}

void CollectorPanel::load(const QString& path) {
    m_report.reset();
    m_body->display(QString());
    const Result<QByteArray> bytes = report::readReportFile(path);
    const Result<report::Report> imported = bytes ? report::validated(*bytes) : Result<report::Report>(bytes.error());
    if (!imported) {
        setStatus(QStringLiteral("导入失败：") + imported.error().description);
        return;
    }
    m_report = *imported;
    show(*m_report);
    setStatus(QStringLiteral("已导入 ") + QFileInfo(path).fileName() +
              QStringLiteral("。请核对整机序列号，随后预览打印。"));
}

void CollectorPanel::finish(const collect::CollectedReport& collected) {
    m_services.server->setReport(collected.encoded.bytes);
    m_collecting = false;
    m_action->setEnabled(true);
    m_report = collected.encoded.report;
    m_saved = collected.filePath;
    show(*m_report);
    setStatus(QStringLiteral("已准备好，可安全推出 U 盘。\n保持开盖、工具运行，通过兼容数据线连接工作端后自动回传。"));
}

void CollectorPanel::failed(const Error& error) {
    m_collecting = false;
    m_action->setEnabled(true);
    setStatus(QStringLiteral("采集未完成：") + error.description);
}

void CollectorPanel::show(const report::Report& report) {
    m_body->display(reportDisplayText(report));
    m_warning->showFor(&report);
}

void CollectorPanel::setStatus(const QString& text) {
    m_status->setText(text);
}

QString CollectorPanel::status() const {
    return m_status->text();
}

void CollectorPanel::prepareToQuit(std::function<void()> quit) {
    if (m_awaitingMediaShutdown)
        return;
    m_awaitingMediaShutdown = true;
    m_inspection->stop();
    inspection::media::MediaRuntime::drain(std::move(quit));
}

void CollectorPanel::shutdown() {
    if (m_shutDown)
        return;
    m_shutDown = true;
    m_relay->shutdown();
    m_inspection->stop();
    if (m_cableReceiver)
        m_cableReceiver->stop();
    m_services.server->stop();
    m_sleepAssertion.reset();
}

} // namespace tagsmith::app
