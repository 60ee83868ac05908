#include "hostile/peer_crowd.h"
#include "hostile/slack.h"
#include "relay/cloud_relay.h"
#include "relay/relay_inbox.h"
#include "relayd/http_front.h"
#include "relayd/relay_service.h"
#include "support/process_usage.h"
#include "support/sample_reports.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <arpa/inet.h>
#include <sys/socket.h>

#include <thread>

using namespace tagsmith;
using namespace std::chrono_literals;

namespace {

QByteArray post(const QByteArray& path, const QByteArray& body, const QByteArray& headers = {}) {
    return "POST " + path + " HTTP/1.1\r\nHost: relay\r\nConnection: close\r\n" + headers +
           (headers.contains("chunked") ? QByteArray()
                                        : "Content-Length: " + QByteArray::number(body.size()) + "\r\n") +
           "\r\n" + body;
}

QByteArray chunked(qsizetype total) {
    QByteArray body;
    for (qsizetype sent = 0; sent < total; sent += 1024)
        body += "400\r\n" + QByteArray(1024, ' ') + "\r\n";
    return body + "0\r\n\r\n";
}

// One request on a connection of its own from the given loopback address; the
// answer's status code, or 0 when none came within five seconds.
int statusOf(quint16 port, const QByteArray& request, const char* from = "127.0.0.1") {
    const base::OwnedFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in source{};
    source.sin_family = AF_INET;
    source.sin_addr.s_addr = inet_addr(from);
    sockaddr_in target = source;
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    target.sin_port = htons(port);
    const timeval limit{5, 0};
    ::setsockopt(socket.get(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    if (::bind(socket.get(), reinterpret_cast<sockaddr*>(&source), sizeof source) != 0 ||
        ::connect(socket.get(), reinterpret_cast<sockaddr*>(&target), sizeof target) != 0)
        return 0;
    ::send(socket.get(), request.constData(), size_t(request.size()), MSG_NOSIGNAL);
    char head[16] = {};
    return ::recv(socket.get(), head, sizeof head - 1, MSG_WAITALL) > 12 ? QByteArray(head + 9, 3).toInt() : 0;
}

// The relay in this process, on a fresh data folder.
struct Relay {
    QTemporaryDir data;
    std::unique_ptr<relayd::RelayStore> store = relayd::RelayStore::open(data.filePath("relay.sqlite3"));
    relayd::IssuerKey issuer = relayd::IssuerKey::loadOrCreate(data.path()).value();
    relayd::RelayService service{*store, issuer};
    std::unique_ptr<relayd::HttpFront> front = relayd::HttpFront::start(service, QStringLiteral("127.0.0.1:0"));

    relay::RelayConfiguration configuration() const {
        return relay::RelayConfiguration::fromJson(
                   issuer.publicConfiguration(QStringLiteral("http://127.0.0.1:%1").arg(front->port())))
            .value();
    }
};

// A workstation and a collector sending it one report; whether it arrived.
bool honestPairIsServed(const Relay& relay) {
    QTemporaryDir identity;
    const auto inbox = relay::RelayInbox::create(relay.configuration(), identity.path());
    QString code;
    bool saved = false;
    inbox->onCode = [&](const QString& shown) { code = shown; };
    inbox->accept = [&](const report::Report&, const QByteArray&) { return saved = true; };
    inbox->start();
    relay::RelayTiming timing;
    timing.pollInterval = 100ms;
    relay::CloudRelay collector(relay.configuration(), timing);
    std::optional<Result<void>> sent;
    std::shared_ptr<relay::RelayTask> task;
    if (test::waitUntil([&] { return !code.isEmpty(); }, 10s))
        task = collector.send(
            code, test::reportFixtureBytes("valid/H4XQ9T2M7V_2025-04-22T14-02-41Z.macreport"), [](const QString&) {},
            [&](const Result<void>& result) { sent = result; });
    const bool delivered = task && test::waitUntil([&] { return sent.has_value(); }, 20s) && *sent && saved;
    inbox->stop();
    return delivered;
}

} // namespace

TEST(RelayServiceAttack, HostileClientsAreRefusedWhileAnHonestPairIsServed) {
    Relay relay;
    ASSERT_TRUE(relay.front);
    const quint16 port = relay.front->port();
    ASSERT_TRUE(honestPairIsServed(relay)); // what the libraries open once is open from here on
    const int descriptorsBefore = test::openDescriptorCount();
    const qint64 memoryBefore = test::residentKilobytes();

    EXPECT_EQ(statusOf(port, post("/v1/relay/submit", {}, "Content-Length: 1000000\r\n")), 413);
    EXPECT_EQ(statusOf(port, post("/v1/relay/submit", chunked(64 * 1024), "Transfer-Encoding: chunked\r\n")), 413);
    EXPECT_EQ(statusOf(port, post("/v1/relay/resolve", R"({"code":"12345","nonce":)")), 400);
    EXPECT_EQ(statusOf(port, post("/v1/relay/resolve", "[1,2,3]")), 400);
    int refused = 0;
    for (int lookup = 0; lookup < 1000; ++lookup) {
        const QByteArray body = QByteArray(R"({"code":")") + QByteArray::number(10000 + lookup) + R"(","nonce":")" +
                                QByteArray(48, 'a') + R"("})";
        refused += statusOf(port, post("/v1/relay/resolve", body), "127.0.0.2") == 429;
    }
    EXPECT_GE(refused, 989) << "ten lookups a minute, and a few more refilled meanwhile";

    // Fifty clients send a head and stall inside the body while the honest pair
    // sends; each is cut off after the ten idle seconds.
    {
        const QList<test::PeerScript> stalls(
            50, test::PeerScript{{}, {}, 200ms, post("/v1/relay/status", {}, "Content-Length: 40\r\n") + "{"});
        test::PeerCrowd crowd(QStringLiteral("127.0.0.1"), port, stalls);
        std::thread stalling([&] { crowd.run(10s + test::kSlack); });
        EXPECT_TRUE(honestPairIsServed(relay));
        stalling.join();
        EXPECT_EQ(crowd.endedCount(), crowd.size());
    } // the crowd closes its own ends before the descriptors are counted

    EXPECT_TRUE(test::waitUntil([&] { return test::openDescriptorCount() <= descriptorsBefore; }, 10s))
        << test::openDescriptorCount() << " descriptors open, " << descriptorsBefore << " before";
    EXPECT_LT(test::residentKilobytes() - memoryBefore, 32 * 1024) << "KiB grown";
}
