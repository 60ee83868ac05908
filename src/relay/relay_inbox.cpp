#include "relay/relay_inbox.h"

#include "base/detached_thread.h"
#include "base/main_thread.h"
#include "base/private_file.h"
#include "base/read_file.h"
#include "crypto/base64.h"
#include "relay/envelope_opening.h"
#include "relay/json_post.h"
#include "relay/relay_client.h"
#include "relay/relay_failure.h"
#include "relay/transport_error.h"
#include "report/json_field_reader.h"
#include "report/validation.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

namespace tagsmith::relay {

namespace {

using namespace std::chrono_literals;

const QString kTokenFileName = QStringLiteral("relay-token.json");
// A batch of envelopes of up to 16 KiB each, written as JSON.
constexpr qsizetype kMaxInboxAnswerBytes = 1 << 20;
constexpr qint64 kMaxTokenFileBytes = 4096;

QString unreachable(const Error& error) {
    return QStringLiteral("中转服务暂时无法连接，接收码可能失效：") + error.description;
}

} // namespace

std::shared_ptr<RelayInbox> RelayInbox::create(RelayConfiguration configuration, QString identityFolder,
                                               Timing timing) {
    return std::shared_ptr<RelayInbox>(new RelayInbox(std::move(configuration), std::move(identityFolder), timing));
}

RelayInbox::RelayInbox(RelayConfiguration configuration, QString identityFolder, Timing timing)
    : m_configuration(std::move(configuration)), m_folder(std::move(identityFolder)), m_timing(timing) {}

void RelayInbox::start() {
    // The thread keeps this object alive until it notices the stop.
    if (!base::runDetached([self = shared_from_this()] { self->run(); }))
        complain(relayFailure(QStringLiteral("无法启动中转接收")));
}

void RelayInbox::stop() {
    m_stopped = true;
    m_cancellation.cancel();
}

void RelayInbox::run() {
    const Result<DeviceIdentity> identity = DeviceIdentity::loadOrCreate(m_folder);
    if (!identity) {
        complain(identity.error());
        return;
    }
    while (!m_cancellation.isCancelled()) {
        const bool answered = ensureToken(*identity) && takeEnvelopes(*identity);
        if (!answered && !m_cancellation.wait(m_timing.retryDelay))
            return;
    }
}

// The token from an earlier start when it was given by this relay, else a new registration.
bool RelayInbox::ensureToken(const DeviceIdentity& identity) {
    if (!m_token.isEmpty())
        return true;
    const QString path = QDir(m_folder).filePath(kTokenFileName);
    const QString server = m_configuration.server.toString();
    const Result<QByteArray> kept = base::readFileUpTo(path, kMaxTokenFileBytes);
    const Result<QJsonObject> saved = kept ? report::parseJsonObject(*kept) : Result<QJsonObject>(kept.error());
    if (saved && saved->value(QStringLiteral("server")).toString() == server) {
        m_token = saved->value(QStringLiteral("token")).toString();
        return true;
    }
    const Result<QJsonObject> registered =
        request(QStringLiteral("register"),
                {{QStringLiteral("deviceId"), identity.deviceId},
                 {QStringLiteral("receiverKey"), QString::fromLatin1(crypto::encodeBase64(identity.publicKey()))}});
    if (!registered)
        return false;
    const QString token = registered->value(QStringLiteral("token")).toString();
    const QJsonObject record{{QStringLiteral("server"), server}, {QStringLiteral("token"), token}};
    const Result<void> written = base::writePrivateFile(path, QJsonDocument(record).toJson());
    if (!written) {
        complain(written.error());
        return false;
    }
    m_token = token;
    return true;
}

bool RelayInbox::renewCode() {
    const Result<QJsonObject> answer = request(QStringLiteral("code"), {});
    if (!answer)
        return false;
    m_codeDue = std::chrono::steady_clock::now() + m_timing.codeRenewal;
    const QString code = answer->value(QStringLiteral("code")).toString();
    if (code != m_code) {
        m_code = code;
        tell(onCode, code);
    }
    return true;
}

// One inbox request; false when the relay did not answer it.
bool RelayInbox::takeEnvelopes(const DeviceIdentity& identity) {
    if (std::chrono::steady_clock::now() >= m_codeDue && !renewCode())
        return false;
    // Back in time to renew the code, which must never lapse while the window is open.
    const auto wait =
        std::clamp(std::chrono::duration_cast<std::chrono::milliseconds>(m_codeDue - std::chrono::steady_clock::now()),
                   std::chrono::milliseconds(0), std::chrono::milliseconds(m_timing.inboxWait));
    const Result<QJsonObject> answer =
        request(QStringLiteral("inbox"),
                {{QStringLiteral("after"), m_after}, {QStringLiteral("wait"), wait.count() / 1000.0}}, wait);
    if (!answer)
        return false;
    for (const QJsonValue& entry : answer->value(QStringLiteral("envelopes")).toArray()) {
        // A report that could not be saved or confirmed is taken again after the pause.
        if (!receive(entry.toObject(), identity))
            return false;
        m_after = std::max(m_after, qint64(entry[QStringLiteral("sequence")].toDouble()));
    }
    return true;
}

// False when the report opened but is not yet saved and confirmed.
bool RelayInbox::receive(const QJsonObject& envelope, const DeviceIdentity& identity) {
    const std::optional<QByteArray> bytes = openEnvelope(envelope, identity);
    const Result<report::Report> received =
        bytes ? report::validated(*bytes) : Result<report::Report>(relayFailure(QString()));
    if (!received)
        return true; // dropped: it can never become a saved report
    bool saved = false;
    base::onMainSync([&] { saved = !m_stopped && accept && accept(*received, *bytes); });
    const QString messageId = envelope.value(QStringLiteral("messageId")).toString();
    if (!saved || !request(QStringLiteral("confirm"), {{QStringLiteral("messageId"), messageId}}))
        return false;
    tell(onDelivered, received->serial);
    return true;
}

Result<QJsonObject> RelayInbox::request(const QString& name, QJsonObject body, std::chrono::milliseconds wait) {
    if (!m_token.isEmpty())
        body.insert(QStringLiteral("token"), m_token);
    QUrl url = m_configuration.server;
    url.setPath(QStringLiteral("/v1/workstation/") + name);
    const JsonPostLimits limits{10s + wait, 15s + wait, kMaxInboxAnswerBytes};
    const Result<JsonPostAnswer> answer =
        m_poster.post(url, QJsonDocument(body).toJson(QJsonDocument::Compact), limits, m_cancellation);
    Result<QJsonObject> object = answer ? interpretAnswer(*answer) : Result<QJsonObject>(answer.error());
    if (!object && !isCancellation(object.error()))
        complain(object.error());
    else if (object && m_unreachable) {
        m_unreachable = false;
        tell(onState, QString());
    }
    return object;
}

void RelayInbox::complain(const Error& error) {
    m_unreachable = true;
    tell(onState, unreachable(error));
}

// Callbacks run on the main thread, and not at all once stopped.
void RelayInbox::tell(const std::function<void(const QString&)>& callback, const QString& text) {
    base::onMain([self = weak_from_this(), callback, text] {
        const std::shared_ptr<RelayInbox> inbox = self.lock();
        if (callback && inbox && !inbox->m_stopped)
            callback(text);
    });
}

} // namespace tagsmith::relay
