#include "report/receiver_config.h"

namespace tagsmith::report {

namespace {
constexpr qsizetype kKeyBytes = 32;
} // namespace

std::optional<QByteArray> ReceiverConfig::keyBytes() const {
    const QByteArray text = key.toLatin1();
    // Qt's decoder tolerates missing padding; the key file format does not.
    if (text.size() % 4 != 0)
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != kKeyBytes)
        return std::nullopt;
    return decoded.decoded;
}

} // namespace tagsmith::report
