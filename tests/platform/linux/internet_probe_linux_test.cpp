#include "platform/linux/internet_probe_linux.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

using namespace tagsmith::inspection::wireless;
using tagsmith::test::waitUntil;

namespace {

// A real TLS server on the loopback interface, with a certificate made for
// "localhost" that only the tests trust.
class TlsServer {
public:
    TlsServer() {
        const QString certificate = m_folder.filePath(QStringLiteral("cert.pem"));
        const QString key = m_folder.filePath(QStringLiteral("key.pem"));
        QProcess openssl;
        openssl.setStandardOutputFile(QProcess::nullDevice());
        openssl.setStandardErrorFile(QProcess::nullDevice());
        openssl.start(QStringLiteral("openssl"),
                      QStringLiteral("req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 "
                                     "-subj /CN=localhost -addext subjectAltName=DNS:localhost")
                              .split(u' ') +
                          QStringList{QStringLiteral("-keyout"), key, QStringLiteral("-out"), certificate});
        if (!openssl.waitForFinished(10000) || openssl.exitCode() != 0)
            return;
        m_server.start(QStringLiteral("openssl"),
                       {QStringLiteral("s_server"), QStringLiteral("-accept"), QStringLiteral("127.0.0.1:0"),
                        QStringLiteral("-cert"), certificate, QStringLiteral("-key"), key});
        // Once it listens it names its port: "ACCEPT 127.0.0.1:45115".
        while (m_port == 0 && m_server.waitForReadyRead(5000)) {
            while (m_server.canReadLine()) {
                const QByteArray line = m_server.readLine().trimmed();
                if (line.startsWith("ACCEPT "))
                    m_port = line.mid(line.lastIndexOf(':') + 1).toInt();
            }
        }
        m_certificate = certificate;
    }
    ~TlsServer() {
        m_server.terminate();
        m_server.waitForFinished();
    }

    int port() const { return m_port; }
    QString certificate() const { return m_certificate; }

private:
    QTemporaryDir m_folder;
    QProcess m_server;
    int m_port = 0;
    QString m_certificate;
};

// A loopback port where nothing listens.
int closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

ProbeOutcome connectOnce(const TlsEndpoint& endpoint, const QString& interface) {
    CurlInternetProbe probe(endpoint, std::chrono::seconds(5));
    std::optional<ProbeOutcome> outcome;
    const std::unique_ptr<ProbeConnection> connection =
        probe.open(interface, [&](const ProbeOutcome& ended) { outcome = ended; });
    EXPECT_TRUE(waitUntil([&] { return outcome.has_value(); }, std::chrono::seconds(10)));
    return outcome.value_or(ProbeOutcome{false, QStringLiteral("no outcome")});
}

TEST(CurlInternetProbe, HandshakeOverTheNamedInterface) {
    TlsServer server;
    ASSERT_NE(server.port(), 0);
    const QString noSuchInterface = QStringLiteral("tsno%1").arg(QCoreApplication::applicationPid() % 100000);
    const struct {
        TlsEndpoint endpoint;
        QString interface;
        ProbeOutcome expected;
    } cases[] = {
        {{QStringLiteral("localhost"), server.port(), server.certificate()}, QStringLiteral("lo"), {true, {}}},
        {{QStringLiteral("localhost"), server.port(), {}},
         QStringLiteral("lo"),
         {false, QStringLiteral("服务器证书未通过验证，可能被认证页拦截")}},
        {{QStringLiteral("localhost"), closedPort(), server.certificate()},
         QStringLiteral("lo"),
         {false, QStringLiteral("无法连接服务器")}},
        {{QStringLiteral("localhost"), server.port(), server.certificate()},
         noSuchInterface,
         {false, QStringLiteral("无法经由 Wi-Fi 接口发出连接")}},
    };
    for (const auto& [endpoint, interface, expected] : cases) {
        const ProbeOutcome outcome = connectOnce(endpoint, interface);
        EXPECT_EQ(outcome.ready, expected.ready) << interface.toStdString() << " " << endpoint.port;
        EXPECT_EQ(outcome.failure, expected.failure) << interface.toStdString() << " " << endpoint.port;
    }
}

} // namespace
