#include "app/self_test.h"

#include "base/owned_fd.h"
#include "cable/collector_server.h"
#include "cable/frames.h"
#include "crypto/hmac.h"
#include "crypto/random.h"
#include "crypto/sha256.h"
#include "report/report_file.h"
#include "report/validation.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace tagsmith::app {

namespace {

constexpr int kSentWaitMs = 5000;

// Runs the server's end of one connection on a thread of its own while the
// client's end runs here, as the two Macs on a cable would.
template <typename Client> auto againstServer(cable::CollectorServer& server, const Client& client) {
    int ends[2] = {-1, -1};
    ::socketpair(AF_UNIX, SOCK_STREAM, 0, ends);
    base::OwnedFd clientEnd(ends[1]);
    cable::setTimeout(ends[0]);
    cable::setTimeout(ends[1]);
    std::thread serving([&server, serverEnd = ends[0]] {
        server.handle(serverEnd);
        ::close(serverEnd);
    });
    const auto outcome = client(clientEnd.get());
    clientEnd.reset();
    serving.join();
    return outcome;
}

bool pullsTheReport(cable::CollectorServer& server, const QByteArray& key, const report::Report& expected) {
    return againstServer(server, [&](int socket) {
        return cable::pullReport(socket, key, expected.serial, [&](const report::Report& received, const QByteArray&) {
            return received == expected;
        });
    });
}

// A client with another key checks the server's proof, then offers its own
// wrong proof anyway: the server must close without sending anything.
bool refusesAnotherKey(cable::CollectorServer& server, const QByteArray& key) {
    const QByteArray wrongKey = crypto::sha256(key);
    return againstServer(server, [&](int socket) {
        const QByteArray challenge = crypto::randomBytes(cable::kChallengeLength).value_or(QByteArray());
        if (challenge.isEmpty() || !cable::sendAll(socket, challenge))
            return false;
        const auto proof = cable::readN(socket, cable::kChallengeLength);
        const QByteArray proven = QByteArrayLiteral("server") + challenge;
        if (!proof || !crypto::isValidHmacSha256(*proof, key, proven) ||
            crypto::isValidHmacSha256(*proof, wrongKey, proven))
            return false;
        return cable::sendAll(socket, crypto::hmacSha256(wrongKey, QByteArrayLiteral("client") + challenge)) &&
               !cable::readN(socket, 1);
    });
}

// Runs what the server queued for the main thread, until count reaches expected.
bool waitFor(const int& count, int expected) {
    const QDeadlineTimer deadline(kSentWaitMs);
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    while (count < expected && !deadline.hasExpired());
    return count == expected;
}

} // namespace

Result<QString> runPullTest(const QStringList& arguments) {
    const auto key = cable::receiverKey();
    if (!key)
        return selfTestFailure(QStringLiteral("应用包中的 receiver.json 缺失，或其中的密钥不是 32 字节。"));
    const Result<QByteArray> bytes = report::readReportFile(arguments.at(2));
    if (!bytes)
        return bytes.error();
    const Result<report::Report> report = report::validated(*bytes);
    if (!report)
        return report.error();
    const auto server = cable::CollectorServer::create();
    server->setReport(*bytes);
    int sent = 0;
    server->onSent = [&sent] { ++sent; };
    if (!pullsTheReport(*server, *key, *report) || !waitFor(sent, 1))
        return selfTestFailure(QStringLiteral("拉取交换失败：报告未能完成认证、传输或确认。"));
    if (!refusesAnotherKey(*server, *key) || !waitFor(sent, 1))
        return selfTestFailure(QStringLiteral("拉取交换失败：密钥错误的客户端未被拒绝。"));
    return QStringLiteral("PASS: pull protocol authenticates both peers, transfers encrypted report, acknowledges, "
                          "rejects incorrect client key; no printing");
}

} // namespace tagsmith::app
