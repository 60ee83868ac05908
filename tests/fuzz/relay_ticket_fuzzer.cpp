#include "fuzz_input.h"

#include "crypto/ed25519.h"
#include "relay/relay_crypto.h"

using namespace tagsmith;
using relay::RelayCrypto;

namespace {

const QString kCode = QStringLiteral("48213");
const QString kNonce = QStringLiteral("0123456789abcdef0123456789abcdef0123456789abcdef");

const QByteArray& issuerSeed() {
    static const QByteArray seed(crypto::kEd25519SeedBytes, '\x21');
    return seed;
}

const QByteArray& issuerKey() {
    static const QByteArray key = *crypto::ed25519PublicKey(issuerSeed());
    return key;
}

QString base64url(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

// A ticket the issuer really signed, so that the payload rules behind the
// signature check are reached with any payload bytes.
QString signedTicket(const QByteArray& payload) {
    const QString first = base64url(payload);
    return first + u'.' + base64url(*crypto::signEd25519(first.toUtf8(), issuerSeed()));
}

} // namespace

// The input is tried twice: as the ticket text the relay sent, and as the
// payload of a ticket signed by the issuer. A verified payload must be sealable.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = fuzz::bytesOf(data, size);
    (void)RelayCrypto::verify(QString::fromUtf8(input), issuerKey(), kCode, kNonce);
    const Result<QJsonObject> payload = RelayCrypto::verify(signedTicket(input), issuerKey(), kCode, kNonce);
    if (!payload)
        return 0;
    const Result<QJsonObject> envelope = RelayCrypto::encrypt(QByteArrayLiteral("{}"), *payload);
    fuzz::require(envelope.has_value() || !envelope.error().description.isEmpty(),
                  "sealing for a verified ticket succeeds or says why not");
    return 0;
}
