#include "crypto/random.h"

#include "crypto/openssl_handles.h"

#include <openssl/rand.h>

#include <climits>

namespace tagsmith::crypto {

std::optional<QByteArray> randomBytes(qsizetype count) {
    if (count < 0 || count > INT_MAX)
        return std::nullopt;
    QByteArray buffer(count, Qt::Uninitialized);
    if (count > 0 && RAND_bytes(detail::bytes(buffer), int(count)) != 1)
        return std::nullopt;
    return buffer;
}

} // namespace tagsmith::crypto
