#include "support/v2_workstation.h"

#include "cable/frames.h"
#include "crypto/aes_gcm.h"
#include "crypto/hkdf.h"

#include <QJsonDocument>

namespace tagsmith::test {

V2Workstation::V2Workstation(base::OwnedFd socket, QString deviceId)
    : m_socket(std::move(socket)), m_deviceId(std::move(deviceId)), m_key(*crypto::X25519PrivateKey::generate()) {
    cable::setSocketTimeouts(m_socket.get(), std::chrono::seconds(10));
}

bool V2Workstation::readCollectorHello() {
    const auto frame = cable::readFrame(m_socket.get());
    const QJsonObject hello = QJsonDocument::fromJson(frame.value_or(QByteArray())).object();
    m_collectorKey = QByteArray::fromBase64(hello.value(QLatin1String("publicKey")).toString().toLatin1());
    m_challenge = QByteArray::fromBase64(hello.value(QLatin1String("challenge")).toString().toLatin1());
    return hello.size() == 3 && hello.value(QLatin1String("version")) == 2 && m_collectorKey.size() == 32 &&
           m_challenge.size() == 24;
}

QJsonObject V2Workstation::hello() const {
    return {{QStringLiteral("version"), 2},
            {QStringLiteral("publicKey"), QString::fromLatin1(m_key.publicKey().toBase64())},
            {QStringLiteral("deviceId"), m_deviceId}};
}

bool V2Workstation::sendHello(const QJsonObject& hello) {
    return sendFrame(QJsonDocument(hello).toJson(QJsonDocument::Compact));
}

bool V2Workstation::sendFrame(const QByteArray& payload) {
    return cable::sendFrame(m_socket.get(), payload);
}

std::optional<QByteArray> V2Workstation::receiveReport() {
    const auto secret = m_key.sharedSecret(m_collectorKey);
    const auto key = secret ? crypto::hkdfSha256(*secret, m_challenge, "tagsmith/report/v2", 32) : std::nullopt;
    const auto box = cable::readFrame(m_socket.get());
    if (!key || !box)
        return std::nullopt;
    m_sessionKey = *key;
    return crypto::open(m_sessionKey, *box);
}

bool V2Workstation::acknowledge(const QByteArray& text) {
    const auto box = crypto::seal(m_sessionKey, text);
    return box && sendFrame(*box);
}

std::optional<QByteArray> V2Workstation::fetch() {
    if (!readCollectorHello() || !sendHello())
        return std::nullopt;
    auto report = receiveReport();
    if (!report || !acknowledge())
        return std::nullopt;
    return report;
}

} // namespace tagsmith::test
