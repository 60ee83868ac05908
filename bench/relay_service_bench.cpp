#include "bench_inputs.h"

#include "crypto/base64.h"
#include "relay/device_identity.h"
#include "relay/envelope_opening.h"
#include "relay/relay_client.h"
#include "relay/relay_crypto.h"
#include "relayd/http_front.h"
#include "relayd/relay_service.h"

#include <benchmark/benchmark.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <thread>

using namespace tagsmith;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPairs = 100;
constexpr int kSendsPerCollector = 10;

// One relay in this process with the lookup limit out of the way: every
// collector here comes from the loopback address.
struct Relay {
    QTemporaryDir data;
    std::unique_ptr<relayd::RelayStore> store = relayd::RelayStore::open(data.filePath("relay.sqlite3"));
    relayd::IssuerKey issuer = relayd::IssuerKey::loadOrCreate(data.path()).value();
    relayd::RelayService service{*store, issuer, relayd::RelayLimits{1'000'000}};
    std::unique_ptr<relayd::HttpFront> front = relayd::HttpFront::start(service, QStringLiteral("127.0.0.1:0"));
    relay::RelayConfiguration configuration =
        relay::RelayConfiguration::fromJson(
            issuer.publicConfiguration(QStringLiteral("http://127.0.0.1:%1").arg(front->port())))
            .value();
};

relay::RelayTiming fastPolls() {
    relay::RelayTiming timing;
    timing.pollInterval = 5ms;
    return timing;
}

// A workstation as the inbox runs it, without a window: long-poll, open, confirm.
struct Workstation {
    QTemporaryDir folder;
    relay::DeviceIdentity identity = relay::DeviceIdentity::loadOrCreate(folder.path()).value();
    QString token;
    QString code;
    relay::JsonPoster poster;

    Result<QJsonObject> call(const Relay& relay, relay::RequestCancellation& cancel, const QString& name,
                             QJsonObject body) {
        body.insert("token", token);
        QUrl url = relay.configuration.server;
        url.setPath("/v1/workstation/" + name);
        const auto answer =
            poster.post(url, QJsonDocument(body).toJson(QJsonDocument::Compact), {30s, 30s, 1 << 20}, cancel);
        return answer ? relay::interpretAnswer(*answer) : Result<QJsonObject>(answer.error());
    }
    void join(const Relay& relay, relay::RequestCancellation& cancel) {
        token = call(relay, cancel, "register",
                     {{"deviceId", identity.deviceId},
                      {"receiverKey", QString::fromLatin1(crypto::encodeBase64(identity.publicKey()))}})
                    ->value("token")
                    .toString();
        code = call(relay, cancel, "code", {})->value("code").toString();
    }
    void serve(const Relay& relay, relay::RequestCancellation& cancel) {
        qint64 after = 0;
        while (!cancel.isCancelled()) {
            const Result<QJsonObject> inbox = call(relay, cancel, "inbox", {{"after", after}, {"wait", 5}});
            for (const QJsonValue& entry : inbox ? inbox->value("envelopes").toArray() : QJsonArray()) {
                after = std::max(after, qint64(entry["sequence"].toDouble()));
                if (relay::openEnvelope(entry.toObject(), identity))
                    (void)call(relay, cancel, "confirm", {{"messageId", entry["messageId"]}});
            }
        }
    }
};

// One collector's send, resolve to "delivered"; its time, or nothing when it failed.
std::optional<Clock::duration> send(const Relay& relay, const relay::RelayTiming& timing, const QString& code,
                                    const QByteArray& report) {
    relay::RequestCancellation cancel;
    relay::RelayClient client(relay.configuration, timing, cancel);
    const Clock::time_point start = Clock::now();
    const QString nonce = *relay::RelayCrypto::hex(24);
    const auto resolved = client.request("resolve", {{"code", code}, {"nonce", nonce}});
    const auto payload = resolved ? relay::RelayCrypto::verify(resolved->value("ticket").toString(),
                                                               relay.configuration.issuer, code, nonce)
                                  : Result<QJsonObject>(resolved.error());
    auto envelope = payload ? relay::RelayCrypto::encrypt(report, *payload) : Result<QJsonObject>(payload.error());
    if (!envelope)
        return std::nullopt;
    envelope->insert("ticket", resolved->value("ticket"));
    if (!client.request("submit", *envelope))
        return std::nullopt;
    const QJsonObject receipt{{"messageId", envelope->value("messageId")},
                              {"receiptSecret", envelope->value("receiptSecret")}};
    for (;;) {
        const auto status = client.request("status", receipt);
        if (!status || status->value("status") != QLatin1String("pending"))
            return status && status->value("status") == QLatin1String("delivered") ? std::optional(Clock::now() - start)
                                                                                   : std::nullopt;
        std::this_thread::sleep_for(timing.pollInterval);
    }
}

double percentile(std::vector<double> values, double share) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
}

// A hundred collectors send to a hundred workstations at once, each send to
// "delivered"; the collectors poll status every 5 ms instead of 1.5 s, so
// that the times are the relay's and the two ends' work.
void BM_RelaySendsToDelivered(benchmark::State& state) {
    Relay relay;
    const QByteArray report = report::encodeReport(bench::typicalReport(), report::JsonLayout::compactAnyOrder);
    relay::RequestCancellation stop;
    std::vector<std::unique_ptr<Workstation>> workstations;
    for (int i = 0; i < kPairs; ++i) {
        workstations.push_back(std::make_unique<Workstation>());
        workstations.back()->join(relay, stop);
    }
    std::vector<std::thread> serving;
    for (const auto& workstation : workstations)
        serving.emplace_back([&, w = workstation.get()] { w->serve(relay, stop); });
    const relay::RelayTiming timing = fastPolls();
    std::vector<double> milliseconds;
    std::mutex lock;
    std::atomic<int> failed = 0;
    for (auto _ : state) {
        std::vector<std::thread> collectors;
        for (int i = 0; i < kPairs; ++i)
            collectors.emplace_back([&, code = workstations[size_t(i)]->code] {
                for (int n = 0; n < kSendsPerCollector; ++n) {
                    const auto took = send(relay, timing, code, report);
                    std::lock_guard guard(lock);
                    if (took)
                        milliseconds.push_back(std::chrono::duration<double, std::milli>(*took).count());
                    else
                        ++failed;
                }
            });
        for (std::thread& collector : collectors)
            collector.join();
    }
    stop.cancel();
    for (std::thread& thread : serving)
        thread.join();
    state.counters["sends/s"] = benchmark::Counter(double(milliseconds.size()), benchmark::Counter::kIsRate);
    state.counters["p50_ms"] = percentile(milliseconds, 0.50);
    state.counters["p99_ms"] = percentile(milliseconds, 0.99);
    state.counters["failed"] = failed.load();
}

} // namespace

BENCHMARK(BM_RelaySendsToDelivered)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
