#include "relay/relay_crypto.h"

#include "crypto/base64.h"
#include "relay/relay_failure.h"
#include "support/relay_test_crypto.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QUuid>

#include <functional>

using namespace tagsmith;
using relay::RelayCrypto;
using test::base64Url;

namespace {

const QString kCode = QStringLiteral("48213");
const QString kNonce = QStringLiteral("00112233445566778899aabbccddeeff0011223344556677");
const QString kFormatInvalid = QStringLiteral("接收凭证格式无效");
const QString kEncodingInvalid = QStringLiteral("接收凭证编码无效");
const QString kMismatch = QStringLiteral("接收工作端签名或接收码不匹配");
const QString kSealInputInvalid = QStringLiteral("报告或接收信息无效");

bool isLowerHex(const QString& text, qsizetype length) {
    return text.size() == length && QRegularExpression(QStringLiteral("\\A[0-9a-f]*\\z")).match(text).hasMatch();
}

// A ticket from the test issuer for kCode and kNonce, its payload changed by edit.
struct TicketCase {
    const char* name;
    std::function<QString(const test::TicketIssuer&, QJsonObject)> ticket;
    QString failure; // empty: verifies
};

QString issued(const test::TicketIssuer& issuer, QJsonObject payload) {
    return issuer.issue(payload);
}

std::function<QString(const test::TicketIssuer&, QJsonObject)> edited(std::function<void(QJsonObject&)> edit) {
    return [edit](const test::TicketIssuer& issuer, QJsonObject payload) {
        edit(payload);
        return issuer.issue(payload);
    };
}

auto setMember(const char* key, QJsonValue value) {
    return edited([key, value](QJsonObject& payload) { payload.insert(QLatin1String(key), value); });
}

auto lifetime(double issuedAt, double expiresAt) {
    return edited([=](QJsonObject& payload) {
        payload.insert(QStringLiteral("issuedAt"), issuedAt);
        payload.insert(QStringLiteral("expiresAt"), expiresAt);
    });
}

QString receiverKeyOf(int bytes) {
    return QString::fromLatin1(QByteArray(bytes, '\x09').toBase64());
}

} // namespace

TEST(RelayCrypto, DecodeUrlAcceptsUnpaddedPartsOfEveryRemainder) {
    const QList<std::pair<QString, QByteArray>> decoded{
        {QStringLiteral("YWJj"), "abc"}, {QStringLiteral("YWI"), "ab"},       {QStringLiteral("YQ"), "a"},
        {QStringLiteral("YQ=="), "a"},   {QStringLiteral("-_8"), "\xfb\xff"}, {QStringLiteral("+/8"), "\xfb\xff"},
        {QString(), QByteArray()},
    };
    for (const auto& [text, bytes] : decoded)
        EXPECT_EQ(RelayCrypto::decodeURL(text).value(), bytes) << text.toStdString();
    for (const QString& bad :
         {QStringLiteral("YWJjZ"), QStringLiteral("YW J"), QStringLiteral("YQ=a"), QStringLiteral("é")}) {
        const auto result = RelayCrypto::decodeURL(bad);
        ASSERT_FALSE(result) << bad.toStdString();
        EXPECT_EQ(result.error().description, kEncodingInvalid);
    }
}

TEST(RelayCrypto, VerifyAppliesEveryTicketRuleInOrder) {
    const test::TicketIssuer issuer;
    const test::TicketIssuer stranger;
    const test::TestReceiver receiver;
    const QList<TicketCase> cases{
        {"valid", issued, {}},
        {"three parts", [](auto& i, auto p) { return issued(i, p) + QStringLiteral(".x"); }, kFormatInvalid},
        {"4097 characters", [](auto&, auto) { return QStringLiteral("*.") + QString(4095, u'*'); }, kFormatInvalid},
        {"bad signature encoding", [](auto&, auto) { return QStringLiteral("e30.*"); }, kEncodingInvalid},
        {"other signer", [&](auto&, auto p) { return stranger.issue(p); }, kMismatch},
        {"payload re-encoded with padding",
         [](auto& i, auto p) {
             const QString ticket = issued(i, p);
             const QByteArray padded =
                 QJsonDocument(p).toJson(QJsonDocument::Compact).toBase64(QByteArray::Base64UrlEncoding);
             return QString::fromLatin1(padded) + ticket.sliced(ticket.indexOf(u'.'));
         },
         kMismatch},
        {"payload not base64", [](auto& i, auto) { return i.sign("e30*"); }, kEncodingInvalid},
        {"kind", setMember("kind", QStringLiteral("tagsmith-relay-v2")), kMismatch},
        {"code", setMember("code", QStringLiteral("48214")), kMismatch},
        {"nonce", setMember("nonce", QString(kNonce).replace(0, 1, u'f')), kMismatch},
        {"deviceId upper case", setMember("deviceId", receiver.deviceId.toUpper()), kMismatch},
        {"deviceId of 63", setMember("deviceId", receiver.deviceId.chopped(1)), kMismatch},
        {"receiverKey of 31 bytes", setMember("receiverKey", receiverKeyOf(31)), kMismatch},
        {"receiverKey of 33 bytes", setMember("receiverKey", receiverKeyOf(33)), kMismatch},
        {"missing expiresAt", edited([](QJsonObject& p) { p.remove(QStringLiteral("expiresAt")); }), kMismatch},
        {"issuedAt as text", setMember("issuedAt", QStringLiteral("1760000000000")), kMismatch},
        {"lifetime 120000", lifetime(1000, 121000), {}},
        {"lifetime 120001", lifetime(1000, 121001), kMismatch},
        {"expiresAt equal to issuedAt", lifetime(1000, 1000), kMismatch},
        {"fractional time", lifetime(1000.5, 2000), kMismatch},
    };
    for (const TicketCase& entry : cases) {
        const QString ticket = entry.ticket(issuer, receiver.payload(kCode, kNonce));
        const auto result = RelayCrypto::verify(ticket, issuer.publicKey(), kCode, kNonce);
        if (entry.failure.isEmpty()) {
            ASSERT_TRUE(result) << entry.name << ": " << result.error().description.toStdString();
            EXPECT_EQ(result->value(QStringLiteral("deviceId")).toString(), receiver.deviceId);
        } else {
            ASSERT_FALSE(result) << entry.name;
            EXPECT_EQ(result.error().description, entry.failure) << entry.name;
        }
    }
}

TEST(RelayCrypto, VerifyPassesOnThePayloadParseError) {
    const test::TicketIssuer issuer;
    const auto result = RelayCrypto::verify(issuer.sign(base64Url("{\"kind\":")), issuer.publicKey(), kCode, kNonce);
    ASSERT_FALSE(result);
    EXPECT_NE(result.error().domain, relay::kRelayFailureDomain);
    EXPECT_FALSE(result.error().description.isEmpty());
}

TEST(RelayCrypto, EnvelopesAreFreshAndOpenOnlyForTheirDeviceAndMessage) {
    const test::TestReceiver receiver;
    const QByteArray report(700, 'r');
    const QJsonObject first = RelayCrypto::encrypt(report, receiver.payload(kCode, kNonce)).value();
    const QJsonObject second = RelayCrypto::encrypt(report, receiver.payload(kCode, kNonce)).value();
    const auto decoded = [&](const char* name) {
        return crypto::decodeBase64(first.value(QLatin1String(name)).toString().toLatin1()).value_or("none");
    };
    EXPECT_EQ(first.keys(), (QStringList{"ciphertext", "iv", "messageId", "receiptSecret", "salt", "senderKey"}));
    const QString messageId = first.value(QStringLiteral("messageId")).toString();
    EXPECT_EQ(messageId, QUuid(messageId).toString(QUuid::WithoutBraces).toLower());
    EXPECT_EQ(decoded("senderKey").size(), 32);
    EXPECT_EQ(decoded("salt").size(), 32);
    EXPECT_EQ(decoded("iv").size(), 12);
    EXPECT_EQ(decoded("ciphertext").size(), report.size() + 16);
    EXPECT_TRUE(isLowerHex(first.value(QStringLiteral("receiptSecret")).toString(), 64));
    for (const QString& key : first.keys())
        EXPECT_NE(first.value(key), second.value(key)) << key.toStdString();
    EXPECT_EQ(receiver.open(first), report);
    EXPECT_FALSE(receiver.open(first, second.value(QStringLiteral("messageId")).toString()));
    test::TestReceiver otherDevice = receiver;
    otherDevice.deviceId = QString(64, u'0');
    EXPECT_FALSE(otherDevice.open(first));
}

TEST(RelayCrypto, EncryptRefusesUnusableReceiverInformation) {
    const test::TestReceiver receiver;
    const QList<std::pair<const char*, QJsonValue>> broken{
        {"deviceId", QJsonValue::Undefined},
        {"receiverKey", QStringLiteral("not base64!")},
        {"receiverKey", QJsonValue::Undefined},
        {"receiverKey", QString::fromLatin1(QByteArray(32, '\0').toBase64())}, // a low-order point
    };
    for (const auto& [key, value] : broken) {
        QJsonObject payload = receiver.payload(kCode, kNonce);
        if (value.isUndefined())
            payload.remove(QLatin1String(key));
        else
            payload.insert(QLatin1String(key), value);
        const auto result = RelayCrypto::encrypt("{}", payload);
        ASSERT_FALSE(result) << key;
        EXPECT_EQ(result.error().description, kSealInputInvalid) << key;
    }
}
