#include "support/v2_workstation.h"

#include "cable/frames.h"
#include "crypto/aes_gcm.h"
#include "crypto/hkdf.h"

#include <QJsonDocument>

namespace tagsmith::test {

namespace {

QByteArray framed(const QByteArray& payload) {
    return cable::frameHeader(std::uint32_t(payload.size())) + payload;
}

// A correct hello with one member changed, or removed when the value is undefined.
QByteArray helloWith(const char* member, const QJsonValue& value) {
    QJsonObject hello{{"version", 2},
                      {"publicKey", QString::fromLatin1(crypto::X25519PrivateKey::generate()->publicKey().toBase64())},
                      {"deviceId", "workstation-1"}};
    if (value.isUndefined())
        hello.remove(QLatin1String(member));
    else
        hello.insert(QLatin1String(member), value);
    return framed(QJsonDocument(hello).toJson(QJsonDocument::Compact));
}

} // namespace

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

bool V2Workstation::sendHello() {
    const QJsonObject hello{{QStringLiteral("version"), 2},
                            {QStringLiteral("publicKey"), QString::fromLatin1(m_key.publicKey().toBase64())},
                            {QStringLiteral("deviceId"), m_deviceId}};
    return cable::sendFrame(m_socket.get(), QJsonDocument(hello).toJson(QJsonDocument::Compact));
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
    return box && cable::sendFrame(m_socket.get(), *box);
}

std::optional<QByteArray> V2Workstation::fetch() {
    if (!readCollectorHello() || !sendHello())
        return std::nullopt;
    auto report = receiveReport();
    if (!report || !acknowledge())
        return std::nullopt;
    return report;
}

QList<std::pair<const char*, QByteArray>> brokenHelloFrames() {
    return {
        {"zero length", cable::frameHeader(0)},
        {"one over the hello limit", cable::frameHeader(12'001)},
        {"largest length", cable::frameHeader(0xffff'ffff)},
        {"not JSON", framed("\xff\xfe garbage")},
        {"JSON array", framed("[2]")},
        {"deep nesting", framed(QByteArray(5'000, '[') + QByteArray(5'000, ']'))},
        {"hello over the limit", helloWith("pad", QString(12'000, u'p'))},
        {"version 1", helloWith("version", 1)},
        {"version as text", helloWith("version", "2")},
        {"no version", helloWith("version", QJsonValue::Undefined)},
        {"key of 31 bytes", helloWith("publicKey", QString::fromLatin1(QByteArray(31, 'k').toBase64()))},
        {"low-order key", helloWith("publicKey", QString::fromLatin1(QByteArray(32, '\0').toBase64()))},
        {"key not Base64", helloWith("publicKey", "@@@@")},
        {"no device", helloWith("deviceId", QJsonValue::Undefined)},
        {"empty device", helloWith("deviceId", "")},
        {"device with a line feed", helloWith("deviceId", "ws\n")},
        {"device with a tab", helloWith("deviceId", "tab\there")},
        {"device of 129 characters", helloWith("deviceId", QString(129, u'w'))},
        {"device not ASCII", helloWith("deviceId", QStringLiteral("工作站"))},
        {"device as a number", helloWith("deviceId", 7)},
        {"acknowledgement instead of hello", framed(QByteArray(36, '\x01'))},
    };
}

} // namespace tagsmith::test
