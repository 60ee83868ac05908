#include "cable/v2_fetch.h"

#include "base/uptime.h"
#include "cable/frames.h"
#include "cable/v2_frames.h"
#include "cable/v2_hello.h"
#include "crypto/aes_gcm.h"
#include "crypto/base64.h"
#include "report/validation.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace tagsmith::cable {

namespace {

const QStringList kCollectorHelloKeys{QStringLiteral("challenge"), QStringLiteral("publicKey"),
                                      QStringLiteral("version")};

std::optional<QByteArray> base64Member(const QJsonObject& object, const QString& key, qsizetype size) {
    const QJsonValue value = object.value(key);
    auto bytes = value.isString() ? crypto::decodeBase64(value.toString().toLatin1()) : std::nullopt;
    if (!bytes || bytes->size() != size)
        return std::nullopt;
    return bytes;
}

QByteArray workstationHello(const QByteArray& publicKey, const QString& deviceId) {
    const QJsonObject hello{
        {QStringLiteral("version"), kV2Version},
        {QStringLiteral("publicKey"), QString::fromLatin1(crypto::encodeBase64(publicKey))},
        {QStringLiteral("deviceId"), deviceId},
    };
    return QJsonDocument(hello).toJson(QJsonDocument::Compact);
}

// Reads the collector hello, answers it, and derives the exchange key.
std::optional<QByteArray> agreeKey(int socket, const QString& deviceId, double deadline) {
    const auto helloBytes = v2::readFrame(socket, kWorkstationHelloLimit, deadline);
    const auto hello = helloBytes ? parseCollectorHello(*helloBytes) : std::nullopt;
    const auto ownKey = hello ? crypto::X25519PrivateKey::generate() : std::nullopt;
    if (!ownKey || !sendFrame(socket, workstationHello(ownKey->publicKey(), deviceId), deadline))
        return std::nullopt;
    return exchangeKey(*ownKey, hello->publicKey, hello->challenge);
}

struct Received {
    report::Report report;
    QByteArray bytes;
};

std::optional<Received> receiveReport(int socket, const QByteArray& key, const std::optional<QString>& serial,
                                      double deadline) {
    const auto sealed = v2::readFrame(socket, kMaxFrameLength, deadline);
    const auto plaintext = sealed ? crypto::open(key, *sealed) : std::nullopt;
    if (!plaintext)
        return std::nullopt;
    Result<report::Report> report = report::validated(*plaintext);
    if (!report || (serial && report->serial != *serial))
        return std::nullopt;
    return Received{std::move(*report), *plaintext};
}

} // namespace

std::optional<CollectorHello> parseCollectorHello(const QByteArray& json) {
    const std::optional<QJsonObject> parsed = helloObject(json);
    if (!parsed)
        return std::nullopt;
    const QJsonObject& hello = *parsed;
    const QJsonValue version = hello.value(QLatin1String("version"));
    if (hello.keys() != kCollectorHelloKeys || !version.isDouble() || version.toDouble() != kV2Version)
        return std::nullopt;
    auto publicKey = base64Member(hello, QStringLiteral("publicKey"), crypto::kX25519KeyBytes);
    auto challenge = base64Member(hello, QStringLiteral("challenge"), kChallengeBytes);
    if (!publicKey || !challenge)
        return std::nullopt;
    return CollectorHello{std::move(*publicKey), std::move(*challenge)};
}

bool fetchV2Report(int socket, const QString& deviceId, const std::optional<QString>& serial, const ReportOffer& offer,
                   std::chrono::milliseconds allowance) {
    setSocketTimeouts(socket, allowance);
    const double deadline = base::uptime() + std::chrono::duration<double>(allowance).count();
    const auto key = agreeKey(socket, deviceId, deadline);
    const auto received = key ? receiveReport(socket, *key, serial, deadline) : std::nullopt;
    if (!received || !offer(received->report, received->bytes))
        return false;
    const auto acknowledgement = crypto::seal(*key, QByteArray(kAcknowledgement));
    return acknowledgement && sendFrame(socket, *acknowledgement, deadline);
}

} // namespace tagsmith::cable
