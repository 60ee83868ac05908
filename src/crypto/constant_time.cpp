#include "crypto/constant_time.h"

#include <openssl/crypto.h>

namespace tagsmith::crypto {

bool equalInConstantTime(const QByteArray& first, const QByteArray& second) {
    return first.size() == second.size() &&
           CRYPTO_memcmp(first.constData(), second.constData(), size_t(first.size())) == 0;
}

} // namespace tagsmith::crypto
