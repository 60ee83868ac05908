#include "crypto/hmac.h"

#include "crypto/openssl_handles.h"

#include <openssl/crypto.h>

namespace tagsmith::crypto {

using detail::bytes;

QByteArray hmacSha256(const QByteArray& key, const QByteArray& data) {
    static const unsigned char kNoKey = 0; // the library wants a pointer even for an empty key
    QByteArray code(kHmacSha256Bytes, Qt::Uninitialized);
    size_t length = 0;
    const unsigned char* keyBytes = key.isEmpty() ? &kNoKey : bytes(key);
    if (EVP_Q_mac(nullptr, "HMAC", nullptr, "SHA256", nullptr, keyBytes, size_t(key.size()), bytes(data),
                  size_t(data.size()), bytes(code), size_t(code.size()), &length) == nullptr ||
        length != size_t(kHmacSha256Bytes))
        return {};
    return code;
}

bool isValidHmacSha256(const QByteArray& code, const QByteArray& key, const QByteArray& data) {
    const QByteArray expected = hmacSha256(key, data);
    return !expected.isEmpty() && code.size() == expected.size() &&
           CRYPTO_memcmp(code.constData(), expected.constData(), size_t(expected.size())) == 0;
}

} // namespace tagsmith::crypto
