#include "bench_inputs.h"

#include "crypto/aes_gcm.h"
#include "crypto/ed25519.h"
#include "crypto/x25519.h"
#include "relay/relay_crypto.h"

#include <benchmark/benchmark.h>

#include <QJsonDocument>

using namespace tagsmith;
using relay::RelayCrypto;

namespace {

const QString kCode = QStringLiteral("48213");
const QString kNonce = QStringLiteral("0123456789abcdef0123456789abcdef0123456789abcdef");
const QString kDevice = QString(64, u'a');

QByteArray base64url(const QByteArray& bytes) {
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

QJsonObject ticketPayload() {
    const QByteArray receiverKey = crypto::X25519PrivateKey::generate()->publicKey();
    return {{"kind", RelayCrypto::purpose},
            {"code", kCode},
            {"nonce", kNonce},
            {"deviceId", kDevice},
            {"issuedAt", 1.74e12},
            {"expiresAt", 1.74e12 + 60000},
            {"receiverKey", QString::fromLatin1(receiverKey.toBase64())}};
}

void BM_RelayEncrypt(benchmark::State& state) {
    const QByteArray report = report::encodeReport(bench::typicalReport(), report::JsonLayout::compactAnyOrder);
    const QJsonObject payload = ticketPayload();
    for (auto _ : state)
        benchmark::DoNotOptimize(RelayCrypto::encrypt(report, payload));
}

void BM_TicketVerify(benchmark::State& state) {
    const QByteArray seed(crypto::kEd25519SeedBytes, '\x21');
    const QByteArray first = base64url(QJsonDocument(ticketPayload()).toJson(QJsonDocument::Compact));
    const QString ticket = QString::fromLatin1(first + '.' + base64url(*crypto::signEd25519(first, seed)));
    const QByteArray issuer = *crypto::ed25519PublicKey(seed);
    if (!RelayCrypto::verify(ticket, issuer, kCode, kNonce))
        state.SkipWithError("the ticket does not verify");
    for (auto _ : state)
        benchmark::DoNotOptimize(RelayCrypto::verify(ticket, issuer, kCode, kNonce));
}

// The cable's sealing of the largest frame, for comparison with the
// library's own figure (openssl speed -evp aes-256-gcm).
void BM_SealLargestFrame(benchmark::State& state) {
    const QByteArray key(crypto::kAesKeyBytes, '\x42');
    const QByteArray plaintext(999'999 - crypto::kSealedBoxOverhead, 'r');
    for (auto _ : state)
        benchmark::DoNotOptimize(crypto::seal(key, plaintext));
    state.SetBytesProcessed(state.iterations() * plaintext.size());
}

void BM_OpenLargestFrame(benchmark::State& state) {
    const QByteArray key(crypto::kAesKeyBytes, '\x42');
    const QByteArray box = *crypto::seal(key, QByteArray(999'999 - crypto::kSealedBoxOverhead, 'r'));
    for (auto _ : state)
        benchmark::DoNotOptimize(crypto::open(key, box));
    state.SetBytesProcessed(state.iterations() * (box.size() - crypto::kSealedBoxOverhead));
}

} // namespace

BENCHMARK(BM_RelayEncrypt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TicketVerify)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SealLargestFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenLargestFrame)->Unit(benchmark::kMicrosecond);
