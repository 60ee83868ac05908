#include "crypto/base64.h"
#include "relay/device_identity.h"
#include "relay/envelope_opening.h"
#include "relay/receive_code.h"
#include "relay/relay_crypto.h"
#include "relayd/relay_service.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

using namespace tagsmith;
using relay::RelayCrypto;
using relayd::RelayReply;

namespace {

const QByteArray kReport = R"({"serial":"C02XK0ABJGH5"})";
const QString kNonce = QStringLiteral("7a").repeated(24);
const QString kCollector = QStringLiteral("203.0.113.7");

// A relay on a real database in a folder of its own, on a clock the test turns.
struct Relay {
    QTemporaryDir folder;
    qint64 now = 1'760'000'000'000;
    std::unique_ptr<relayd::RelayStore> store;
    std::unique_ptr<relayd::RelayService> service;

    Relay() { restart(); }

    // A new process on the same folder: whatever it promised must survive.
    void restart() {
        service.reset();
        store.reset();
        store = relayd::RelayStore::open(folder.filePath(QStringLiteral("relay.sqlite3")));
        service = std::make_unique<relayd::RelayService>(*store, relayd::IssuerKey::loadOrCreate(folder.path()).value(),
                                                         relayd::RelayLimits{}, [this] { return now; });
    }
    RelayReply call(const char* path, const QJsonObject& body, const QString& from = kCollector) {
        return service->handle(path, QJsonDocument(body).toJson(), from);
    }
    QByteArray issuer() { return relayd::IssuerKey::loadOrCreate(folder.path())->publicKey(); }
};

// A workstation with its own identity and relay token.
struct Workstation {
    QTemporaryDir folder;
    relay::DeviceIdentity identity = relay::DeviceIdentity::loadOrCreate(folder.path()).value();
    QString token;

    explicit Workstation(Relay& relay) {
        token = relay
                    .call("/v1/workstation/register",
                          {{"deviceId", identity.deviceId},
                           {"receiverKey", QString::fromLatin1(crypto::encodeBase64(identity.publicKey()))}})
                    .body["token"]
                    .toString();
    }
    RelayReply call(Relay& relay, const char* path, QJsonObject body = {}) const {
        body.insert("token", token);
        return relay.call(path, body);
    }
    QString code(Relay& relay) const { return call(relay, "/v1/workstation/code").body["code"].toString(); }
    QJsonArray inbox(Relay& relay) const { return call(relay, "/v1/workstation/inbox").body["envelopes"].toArray(); }
};

// What a collector does with a code: resolve, check the ticket, seal, submit.
struct Sent {
    RelayReply resolved;
    QJsonObject envelope;
    RelayReply submitted;
};

Sent send(Relay& relay, const QString& code) {
    Sent sent;
    sent.resolved = relay.call("/v1/relay/resolve", {{"code", code}, {"nonce", kNonce}});
    const QString ticket = sent.resolved.body["ticket"].toString();
    const Result<QJsonObject> payload = RelayCrypto::verify(ticket, relay.issuer(), code, kNonce);
    if (!payload)
        return sent;
    sent.envelope = RelayCrypto::encrypt(kReport, *payload).value();
    sent.envelope.insert("ticket", ticket);
    sent.submitted = relay.call("/v1/relay/submit", sent.envelope);
    return sent;
}

QString status(Relay& relay, const QJsonObject& envelope, const QString& secret = {}) {
    const RelayReply reply = relay.call(
        "/v1/relay/status", {{"messageId", envelope["messageId"]},
                             {"receiptSecret", secret.isEmpty() ? envelope["receiptSecret"].toString() : secret}});
    return reply.status == 200 ? reply.body["status"].toString() : reply.body["error"].toString();
}

} // namespace

TEST(RelayService, CarriesASealedReportToTheCodesWorkstationOnlyAndAnswersItsHolder) {
    Relay relay;
    Workstation workstation(relay);
    Workstation other(relay);
    const QString code = workstation.code(relay);
    ASSERT_TRUE(relay::isReceiveCode(code)) << code.toStdString();
    EXPECT_NE(other.code(relay), code);

    const Sent sent = send(relay, code);
    ASSERT_EQ(sent.submitted.status, 200) << sent.resolved.body["error"].toString().toStdString();
    EXPECT_EQ(status(relay, sent.envelope), "pending");
    EXPECT_TRUE(other.inbox(relay).isEmpty());
    EXPECT_EQ(other.call(relay, "/v1/workstation/confirm", {{"messageId", sent.envelope["messageId"]}}).status, 404);

    // Nothing the relay keeps opens the report; only the workstation's key does.
    relay.restart();
    const QJsonArray inbox = workstation.inbox(relay);
    ASSERT_EQ(inbox.size(), 1);
    EXPECT_FALSE(inbox[0].toObject().contains("receiptSecret"));
    EXPECT_EQ(relay::openEnvelope(inbox[0].toObject(), workstation.identity), kReport);
    EXPECT_FALSE(relay::openEnvelope(inbox[0].toObject(), other.identity));

    const QString wrongSecret(64, u'0');
    const QString unknown = status(relay, {{"messageId", "00000000-0000-4000-8000-000000000000"}}, wrongSecret);
    EXPECT_EQ(status(relay, sent.envelope, wrongSecret), unknown) << "a wrong secret learns nothing";
    EXPECT_EQ(workstation.call(relay, "/v1/workstation/confirm", {{"messageId", sent.envelope["messageId"]}}).status,
              200);
    EXPECT_EQ(status(relay, sent.envelope), "delivered");
    EXPECT_TRUE(workstation.inbox(relay).isEmpty()) << "delivered envelopes are deleted";
    EXPECT_EQ(relay.call("/v1/relay/submit", sent.envelope).status, 409) << "a replayed submit is refused";
}

TEST(RelayService, ReachesNobodyThroughAWrongExpiredOrGuessedCode) {
    Relay relay;
    Workstation workstation(relay);
    const QString code = workstation.code(relay);
    relay.restart();
    EXPECT_EQ(workstation.code(relay), code) << "the code survives a restart and is renewed";
    const QString wrong = QString::number(code.toInt() % 89999 + 10001);
    EXPECT_EQ(send(relay, wrong).resolved.status, 404);

    relay.now += 10 * 60 * 1000 - 1; // a code lives ten minutes after the workstation last asked
    const Sent early = send(relay, code);
    EXPECT_EQ(early.submitted.status, 200);
    relay.now += 120001;
    EXPECT_EQ(relay.call("/v1/relay/submit", early.envelope).status, 403) << "the ticket has expired";
    EXPECT_EQ(send(relay, code).resolved.status, 404) << "the code has expired";
    EXPECT_EQ(workstation.inbox(relay).size(), 1) << "only the send made while code and ticket lived";

    // Ten lookups a minute per address: the eleventh is refused, another address is served.
    for (int guess = 0; guess < 9; ++guess)
        relay.call("/v1/relay/resolve", {{"code", wrong}, {"nonce", kNonce}});
    EXPECT_EQ(relay.call("/v1/relay/resolve", {{"code", wrong}, {"nonce", kNonce}}).status, 429);
    EXPECT_EQ(relay.call("/v1/relay/resolve", {{"code", wrong}, {"nonce", kNonce}}, "198.51.100.1").status, 404);
}

TEST(RelayService, RefusesMalformedRequestsWithAChineseError) {
    Relay relay;
    Workstation workstation(relay);
    const Sent sent = send(relay, workstation.code(relay));
    const auto without = [&](const char* member, const QJsonValue& value = {}) {
        QJsonObject envelope = sent.envelope;
        if (value.isUndefined())
            envelope.remove(member);
        else
            envelope[member] = value;
        return envelope;
    };
    const struct {
        const char* path;
        QJsonObject body;
        int status;
    } cases[] = {
        {"/v1/relay/resolve", {{"code", "01234"}, {"nonce", kNonce}}, 400},
        {"/v1/relay/resolve", {{"code", "12345"}, {"nonce", kNonce.toUpper()}}, 400},
        {"/v1/relay/submit", without("senderKey"), 400},
        {"/v1/relay/submit", without("iv", "AAAA"), 400},
        {"/v1/relay/submit", without("messageId", sent.envelope["messageId"].toString().toUpper()), 400},
        {"/v1/relay/submit", without("ticket", sent.envelope["ticket"].toString() + "x"), 403},
        {"/v1/relay/status", {{"messageId", 7}}, 400},
        {"/v1/workstation/inbox", {{"token", QString(64, u'a')}}, 401},
        {"/v1/workstation/register",
         {{"deviceId", workstation.identity.deviceId}, {"receiverKey", sent.envelope["senderKey"]}},
         409},
        {"/v1/nothing", {}, 404},
    };
    for (const auto& request : cases) {
        const RelayReply reply = relay.call(request.path, request.body);
        EXPECT_EQ(reply.status, request.status) << request.path;
        EXPECT_FALSE(reply.body["error"].toString().isEmpty()) << request.path;
    }
    EXPECT_EQ(relay.service->handle("/v1/relay/resolve", "{\"code\":", kCollector).status, 400);
}
