#include "fuzz_input.h"

#include "relay/relay_crypto.h"

using namespace tagsmith;

// Whatever decodes must come back unchanged through the unpadded base64url
// form a relay writes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    const Result<QByteArray> bytes = relay::RelayCrypto::decodeURL(text);
    if (!bytes)
        return 0;
    const Result<QByteArray> again = relay::RelayCrypto::decodeURL(
        QString::fromLatin1(bytes->toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals)));
    fuzz::require(again.has_value() && *again == *bytes, "decoded bytes survive a base64url round trip");
    return 0;
}
