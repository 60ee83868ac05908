#include "crypto/base64.h"

namespace tagsmith::crypto {

QByteArray encodeBase64(const QByteArray& data) {
    return data.toBase64();
}

std::optional<QByteArray> decodeBase64(const QByteArray& text) {
    auto decoded = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    // Re-encoding catches every lenient reading of the decoder in one rule.
    if (!decoded || decoded.decoded.toBase64() != text)
        return std::nullopt;
    return std::move(decoded.decoded);
}

} // namespace tagsmith::crypto
