#include "base/read_file.h"
#include "crypto/base64.h"
#include "ledger/ledger.h"
#include "relay/json_post.h"
#include "relay/relay_crypto.h"
#include "relay/relay_inbox.h"
#include "relayd/http_front.h"
#include "relayd/relay_service.h"
#include "report/report_file.h"
#include "report/report_json.h"
#include "report/validation.h"
#include "support/cli.h"
#include "support/cups_server.h"
#include "support/sample_reports.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

using namespace tagsmith;
using namespace std::chrono_literals;

namespace {

const QString kReportFile = QStringLiteral("valid/H4XQ9T2M7V_2025-04-22T14-02-41Z.macreport");

// The relay service as a shop runs it, on a loopback port that stays the same across restarts.
struct RelayProcess {
    QTemporaryDir data;
    QProcess process;
    QString listen = QStringLiteral("127.0.0.1:0");

    bool start() {
        process.start(
            test::buildPath(QStringLiteral("tagsmith-relay")),
            {QStringLiteral("serve"), QStringLiteral("--listen"), listen, QStringLiteral("--data"), data.path()});
        if (!test::waitUntil([&] { return process.canReadLine(); }, 10s))
            return false;
        listen = QStringLiteral("127.0.0.1:") + QString::fromLatin1(process.readLine()).section(u' ', 1).trimmed();
        return true;
    }
    void stop() {
        process.terminate();
        process.waitForFinished(5000);
    }
    ~RelayProcess() { stop(); }
};

// Bundle resources naming this relay, from its own issuer-public command.
struct Resources {
    QTemporaryDir folder;

    explicit Resources(const RelayProcess& relay) {
        QFile::copy(test::sourcePath(QStringLiteral("resources/a-models.json")), folder.filePath("a-models.json"));
        QProcess issuer;
        issuer.start(test::buildPath(QStringLiteral("tagsmith-relay")),
                     {QStringLiteral("issuer-public"), QStringLiteral("--data"), relay.data.path(),
                      QStringLiteral("--server"), QStringLiteral("http://") + relay.listen});
        issuer.waitForFinished(10000);
        QFile file(folder.filePath(QStringLiteral("issuer-public.json")));
        if (file.open(QIODevice::WriteOnly))
            file.write(issuer.readAllStandardOutput());
    }
};

// `tagsmith relay receive --once` with an application data folder of its own.
struct Workstation {
    QTemporaryDir home;
    QTemporaryDir out;
    QProcess process;

    QString start(const Resources& resources) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
        process.setProcessEnvironment(environment);
        process.start(test::cliPath(),
                      {QStringLiteral("relay"), QStringLiteral("receive"), QStringLiteral("--once"),
                       QStringLiteral("--out"), out.path(), QStringLiteral("--resources"), resources.folder.path()});
        if (!test::waitUntil([&] { return process.canReadLine(); }, 10s))
            return {};
        return QString::fromLatin1(process.readLine()).trimmed();
    }
    ~Workstation() {
        process.terminate();
        process.waitForFinished(5000);
    }
};

using Sender = int (*)(const QString& code, const Resources& resources);

int sendWithTheCollector(const QString& code, const Resources& resources) {
    const test::CliRun sent =
        test::runCli({QStringLiteral("relay"), QStringLiteral("send"), code, test::reportFixture(kReportFile),
                      QStringLiteral("--resources"), resources.folder.path()});
    std::fputs(sent.standardError.constData(), stderr);
    return sent.exitCode;
}

// A sender sharing no code with the program, written from the wire format alone.
int sendIndependently(const QString& code, const Resources& resources) {
    QProcess sender;
    sender.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sender.start(QStringLiteral("/usr/bin/python3"),
                 {test::sourcePath(QStringLiteral("tests/relayd/independent_relay_sender.py")),
                  resources.folder.filePath(QStringLiteral("issuer-public.json")), code,
                  test::reportFixture(kReportFile)});
    return sender.waitForFinished(90000) && sender.exitStatus() == QProcess::NormalExit ? sender.exitCode() : -1;
}

struct NamedSender {
    const char* name;
    Sender send;
};

// Listed tests carry the sender's name, not the bytes of its pointer.
void PrintTo(const NamedSender& sender, std::ostream* out) {
    *out << sender.name;
}

class RelayEndToEnd : public ::testing::TestWithParam<NamedSender> {};

INSTANTIATE_TEST_SUITE_P(Senders, RelayEndToEnd,
                         ::testing::Values(NamedSender{"TheCollector", &sendWithTheCollector},
                                           NamedSender{"AnIndependentSender", &sendIndependently}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST_P(RelayEndToEnd, ASendIsSavedByTheWorkstationThatShowsTheCode) {
    RelayProcess relay;
    ASSERT_TRUE(relay.start());
    const Resources resources(relay);
    Workstation workstation;
    const QString codeLine = workstation.start(resources);
    ASSERT_TRUE(codeLine.startsWith(QStringLiteral("CODE "))) << codeLine.toStdString();

    EXPECT_EQ(GetParam().send(codeLine.mid(5), resources), 0);
    ASSERT_TRUE(workstation.process.waitForFinished(10000));
    EXPECT_EQ(workstation.process.exitCode(), 0);
    const QStringList saved = QDir(workstation.out.path()).entryList(QDir::Files);
    ASSERT_EQ(saved.size(), 1);
    const auto rules = report::loadARules(test::sourcePath(QStringLiteral("resources/a-models.json")));
    const report::Report expected = report::validated(test::reportFixtureBytes(kReportFile), rules).value();
    EXPECT_EQ(QString::fromLatin1(workstation.process.readAllStandardOutput()).trimmed(), expected.serial);
    EXPECT_EQ(
        report::validated(base::readFileUpTo(QDir(workstation.out.path()).filePath(saved[0]), 1 << 20).value(), rules)
            .value(),
        expected);

    // Both ends restart: the workstation keeps its identity and code.
    relay.stop();
    ASSERT_TRUE(relay.start());
    workstation.process.close();
    EXPECT_EQ(workstation.start(resources), codeLine);
}

// The real workstation window, offscreen, in a copy of the bundle whose
// issuer-public.json names this relay, printing to a private CUPS.
TEST(RelayWorkstationWindow, AReportSentTwiceIsSavedAndPrintsOneLabel) {
    test::CupsServer cups;
    if (!cups.running())
        GTEST_SKIP() << cups.whyNotRunning().toStdString();
    ASSERT_TRUE(cups.addQueue(QStringLiteral("Deli720W_40x30")));
    RelayProcess relay;
    ASSERT_TRUE(relay.start());
    const Resources resources(relay);
    QTemporaryDir home;
    const QString bundle = home.filePath(QStringLiteral("Tagsmith.app"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), test::buildPath("Tagsmith.app"), bundle}),
              0);
    ASSERT_TRUE(QFile::copy(resources.folder.filePath(QStringLiteral("issuer-public.json")),
                            bundle + QStringLiteral("/Contents/Resources/issuer-public.json")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess window;
    window.setProcessEnvironment(environment);
    window.start(bundle + QStringLiteral("/Contents/MacOS/VOREvo"));

    // The code the window shows, asked of the relay with the window's own token.
    const QString tokenFile = home.filePath(QStringLiteral("data/Tagsmith/Relay/relay-token.json"));
    ASSERT_TRUE(test::waitUntil([&] { return QFile::exists(tokenFile); }, 10s));
    const QJsonObject token = QJsonDocument::fromJson(base::readFileUpTo(tokenFile, 4096).value()).object();
    relay::RequestCancellation cancellation;
    const auto answer = relay::JsonPoster().post(
        QUrl(QStringLiteral("http://") + relay.listen + "/v1/workstation/code"),
        QJsonDocument(QJsonObject{{"token", token["token"]}}).toJson(), {5s, 5s, 4096}, cancellation);
    const QString code = QJsonDocument::fromJson(answer.value().body).object()["code"].toString();

    const QString saved =
        home.filePath("data/Tagsmith/Reports/" + report::reportFileName(test::fixtureReport(kReportFile)));
    const auto labelJobs = [&] { return QDir(cups.outputFolder()).entryList({"job-*.pdf"}, QDir::Files).size(); };
    EXPECT_EQ(sendWithTheCollector(code, resources), 0);
    EXPECT_TRUE(test::waitUntil([&] { return QFile::exists(saved) && labelJobs() == 1; }, 10s));
    EXPECT_EQ(sendWithTheCollector(code, resources), 0); // acknowledged again, not printed again
    EXPECT_EQ(labelJobs(), 1);
    auto ledger = ledger::Ledger::openForReading(ledger::Ledger::pathIn(home.filePath("data/Tagsmith")));
    const auto records = ledger.value().select({.text = {}, .since = {}, .after = {}, .limit = -1});
    ASSERT_EQ(records.value().size(), 1);
    EXPECT_EQ(records->front().source, QStringLiteral("relay"));
    window.terminate();
    window.waitForFinished(5000);
}

TEST(RelayInboxEnvelopes, ATamperedOneIsDroppedAndNeverConfirmed) {
    QTemporaryDir data;
    QTemporaryDir identity;
    const auto store = relayd::RelayStore::open(data.filePath(QStringLiteral("relay.sqlite3")));
    const relayd::IssuerKey issuer = relayd::IssuerKey::loadOrCreate(data.path()).value();
    relayd::RelayService service(*store, issuer);
    const auto front = relayd::HttpFront::start(service, QStringLiteral("127.0.0.1:0"));
    ASSERT_TRUE(front);
    const QString server = QStringLiteral("http://127.0.0.1:%1").arg(front->port());
    const auto inbox = relay::RelayInbox::create(
        relay::RelayConfiguration::fromJson(issuer.publicConfiguration(server)).value(), identity.path());
    QString code;
    QStringList accepted;
    inbox->onCode = [&](const QString& shown) { code = shown; };
    inbox->accept = [&](const report::Report& report, const QByteArray&) {
        accepted.append(report.serial);
        return true;
    };
    inbox->start();
    ASSERT_TRUE(test::waitUntil([&] { return !code.isEmpty(); }, 10s));

    const QByteArray report = test::reportFixtureBytes(kReportFile);
    const auto submit = [&](bool tamper) {
        const QString nonce(48, u'5');
        const QString ticket =
            service
                .handle("/v1/relay/resolve", QJsonDocument(QJsonObject{{"code", code}, {"nonce", nonce}}).toJson(),
                        QStringLiteral("127.0.0.1"))
                .body["ticket"]
                .toString();
        QJsonObject envelope = relay::RelayCrypto::encrypt(
                                   report, relay::RelayCrypto::verify(ticket, issuer.publicKey(), code, nonce).value())
                                   .value();
        QByteArray ciphertext = crypto::decodeBase64(envelope["ciphertext"].toString().toLatin1()).value();
        ciphertext[7] = char(ciphertext[7] ^ (tamper ? 1 : 0));
        envelope["ciphertext"] = QString::fromLatin1(crypto::encodeBase64(ciphertext));
        envelope["ticket"] = ticket;
        EXPECT_EQ(service.handle("/v1/relay/submit", QJsonDocument(envelope).toJson(), {}).status, 200);
        return envelope;
    };
    const auto status = [&](const QJsonObject& envelope) {
        return service.handle("/v1/relay/status", QJsonDocument(envelope).toJson(), {}).body["status"].toString();
    };
    const QJsonObject tampered = submit(true);
    const QJsonObject honest = submit(false);
    EXPECT_TRUE(test::waitUntil([&] { return status(honest) == QLatin1String("delivered"); }, 10s));
    EXPECT_EQ(accepted, QStringList{QStringLiteral("H4XQ9T2M7V")});
    EXPECT_EQ(status(tampered), QStringLiteral("pending"));
    inbox->stop();
}
