#include "report/receiver_config.h"

#include "crypto/base64.h"

namespace tagsmith::report {

namespace {
constexpr qsizetype kKeyBytes = 32;
} // namespace

std::optional<QByteArray> ReceiverConfig::keyBytes() const {
    // Only the exact padded form a standard encoder writes is a usable key.
    const auto decoded = crypto::decodeBase64(key.toLatin1());
    if (!decoded || decoded->size() != kKeyBytes)
        return std::nullopt;
    return decoded;
}

} // namespace tagsmith::report
