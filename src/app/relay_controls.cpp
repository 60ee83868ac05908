#include "app/relay_controls.h"

#include "app/frames.h"
#include "l10n/l10n.h"
#include "relay/receive_code.h"
#include "report/report_json.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tagsmith::app {

namespace {

constexpr std::chrono::milliseconds kWorkerExitLimit{1000};

void setSecondaryColour(QLabel* label) {
    label->setStyleSheet(QStringLiteral("color: palette(placeholder-text);"));
}

} // namespace

RelayControls::RelayControls(QWidget* overview, const Result<relay::RelayConfiguration>& configuration)
    : QObject(overview), m_receiveCode(placed(new QLineEdit(overview), 24, 185, 165, 30)),
      m_relaySend(placed(new QPushButton(L10n::t(QStringLiteral("inspector.send")), overview), 196, 183, 118, 34)),
      m_relayStatus(
          placed(new QLabel(QStringLiteral("输入接收码，回车发送（需要互联网）"), overview), 24, 139, 290, 40)) {
    QLabel* heading = placed(new QLabel(QStringLiteral("工作端接收码"), overview), 24, 222, 290, 20);
    heading->setFont(inspection::inspectionFont(13));
    heading->setTextFormat(Qt::PlainText);
    m_receiveCode->setPlaceholderText(L10n::t(QStringLiteral("inspector.receivePlaceholder")));
    QFont digits = inspection::inspectionFont(18);
    digits.setStyleHint(QFont::Monospace);
    m_receiveCode->setFont(digits);
    m_relayStatus->setFont(inspection::inspectionFont(11));
    m_relayStatus->setTextFormat(Qt::PlainText); // the relay's own error texts are shown as they come
    m_relayStatus->setWordWrap(true);
    setSecondaryColour(m_relayStatus);
    connect(m_receiveCode, &QLineEdit::returnPressed, this, &RelayControls::sendCloud);
    connect(m_relaySend, &QPushButton::clicked, this, &RelayControls::sendCloud);
    if (configuration)
        m_cloudRelay = std::make_unique<relay::CloudRelay>(*configuration);
    else
        m_relayStatus->setText(configuration.error().description);
}

RelayControls::~RelayControls() {
    shutdown();
}

void RelayControls::sendCloud() {
    if (m_task)
        return;
    const std::optional<report::Report> report = m_reportSource ? m_reportSource() : std::nullopt;
    if (!report) {
        m_relayStatus->setText(QStringLiteral("请先等待本机配置采集完成"));
        return;
    }
    if (!m_cloudRelay)
        return;
    const QString code = m_receiveCode->text().trimmed();
    if (!relay::isReceiveCode(code)) {
        m_relayStatus->setText(relay::kReceiveCodeHint);
        return;
    }
    setSending(true);
    setSecondaryColour(m_relayStatus);
    m_task = m_cloudRelay->send(
        code, report::encodeReport(*report, report::JsonLayout::compactAnyOrder),
        [this](const QString& text) { m_relayStatus->setText(text); },
        [this](const Result<void>& outcome) { finished(outcome); });
}

void RelayControls::finished(const Result<void>& outcome) {
    m_task.reset();
    setSending(false);
    if (!outcome)
        m_relayStatus->setText(QStringLiteral("发送未完成：") + outcome.error().description);
}

void RelayControls::setSending(bool sending) {
    m_receiveCode->setEnabled(!sending);
    m_relaySend->setEnabled(!sending);
}

void RelayControls::shutdown() {
    if (const std::shared_ptr<relay::RelayTask> task = std::exchange(m_task, nullptr)) {
        task->cancel();
        task->waitUntilEnded(kWorkerExitLimit);
    }
    if (m_cloudRelay)
        m_cloudRelay->close();
}

} // namespace tagsmith::app
