#include "relay/relay_configuration.h"
#include "relayd/http_front.h"
#include "relayd/issuer_key.h"
#include "relayd/relay_service.h"
#include "relayd/relay_store.h"

#include <QDir>
#include <QJsonDocument>
#include <QMap>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <ctime>

// tagsmith-relay: the relay service that carries sealed reports from
// collectors to the workstation whose receive code the operator typed.
namespace {

using namespace tagsmith;

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;
constexpr int kSweepSeconds = 60;

const char* const kUsageText =
    "用法：\n"
    "  tagsmith-relay serve --listen HOST:PORT --data DIR [--resolve-limit N] [--code-lifetime SECONDS]\n"
    "  tagsmith-relay issuer-public --data DIR --server URL\n";

int usage() {
    std::fputs(kUsageText, stderr);
    return kUsage;
}

int fail(const QString& text) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
    return kFailure;
}

// "--name value" pairs after the command; absent when one is unknown or lacks its value.
std::optional<QMap<QString, QString>> options(const QStringList& words, const QStringList& known) {
    QMap<QString, QString> found;
    for (qsizetype i = 0; i < words.size(); i += 2) {
        if (!known.contains(words[i]) || i + 1 >= words.size() || found.contains(words[i]))
            return std::nullopt;
        found.insert(words[i], words[i + 1]);
    }
    return found;
}

// The data folder belongs to the service's account alone.
std::optional<QString> dataFolder(const QString& path) {
    if (path.isEmpty() || !QDir().mkpath(path))
        return std::nullopt;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return QDir(path).absolutePath();
}

int issuerPublic(const QMap<QString, QString>& given) {
    const std::optional<QString> folder = dataFolder(given.value(QStringLiteral("--data")));
    if (!folder || !given.contains(QStringLiteral("--server")))
        return usage();
    const Result<relayd::IssuerKey> issuer = relayd::IssuerKey::loadOrCreate(*folder);
    if (!issuer)
        return fail(issuer.error().description);
    const QJsonObject configuration = issuer->publicConfiguration(given.value(QStringLiteral("--server")));
    // The bundles refuse what the collector would refuse, so this does too.
    if (const auto checked = relay::RelayConfiguration::fromJson(configuration); !checked)
        return fail(
            QStringLiteral("服务地址须为 https，或本机测试用的 http://127.0.0.1、localhost、[::1]，且不带路径和参数"));
    std::fputs(QJsonDocument(configuration).toJson(QJsonDocument::Indented).constData(), stdout);
    return kSuccess;
}

sigset_t stopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

// Until SIGINT or SIGTERM, forgetting expired state once a minute.
void serveUntilStopped(relayd::RelayService& service) {
    const sigset_t signals = stopSignals();
    const timespec interval{kSweepSeconds, 0};
    for (;;) {
        service.sweep();
        const int received = sigtimedwait(&signals, nullptr, &interval);
        if (received == SIGINT || received == SIGTERM)
            return;
    }
}

std::optional<relayd::RelayLimits> limits(const QMap<QString, QString>& given) {
    relayd::RelayLimits limits;
    bool valid = true;
    if (given.contains(QStringLiteral("--resolve-limit")))
        limits.resolvesPerMinute = given.value(QStringLiteral("--resolve-limit")).toInt(&valid);
    if (valid && given.contains(QStringLiteral("--code-lifetime")))
        limits.codeLifetimeMs = given.value(QStringLiteral("--code-lifetime")).toLongLong(&valid) * 1000;
    if (!valid || limits.resolvesPerMinute < 1 || limits.codeLifetimeMs < 1000)
        return std::nullopt;
    return limits;
}

int serve(const QMap<QString, QString>& given) {
    const std::optional<QString> folder = dataFolder(given.value(QStringLiteral("--data")));
    const std::optional<relayd::RelayLimits> chosen = limits(given);
    if (!folder || !chosen || !given.contains(QStringLiteral("--listen")))
        return usage();
    const Result<relayd::IssuerKey> issuer = relayd::IssuerKey::loadOrCreate(*folder);
    if (!issuer)
        return fail(issuer.error().description);
    const auto store = relayd::RelayStore::open(QDir(*folder).filePath(QStringLiteral("relay.sqlite3")));
    if (!store)
        return fail(QStringLiteral("无法打开中转数据库：") + *folder);
    // Blocked before any thread starts, so that only the wait below takes them.
    const sigset_t signals = stopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    relayd::RelayService service(*store, *issuer, *chosen);
    const auto front = relayd::HttpFront::start(service, given.value(QStringLiteral("--listen")));
    if (!front)
        return fail(QStringLiteral("无法在 %1 上监听").arg(given.value(QStringLiteral("--listen"))));
    std::printf("LISTENING %u\n", unsigned(front->port()));
    std::fflush(stdout);
    serveUntilStopped(service);
    return kSuccess;
}

} // namespace

int main(int argc, char** argv) {
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    const QString command = words.value(0);
    if (command == QLatin1String("serve")) {
        const auto given =
            options(words.mid(1), {QStringLiteral("--listen"), QStringLiteral("--data"),
                                   QStringLiteral("--resolve-limit"), QStringLiteral("--code-lifetime")});
        return given ? serve(*given) : usage();
    }
    if (command == QLatin1String("issuer-public")) {
        const auto given = options(words.mid(1), {QStringLiteral("--data"), QStringLiteral("--server")});
        return given ? issuerPublic(*given) : usage();
    }
    return usage();
}
