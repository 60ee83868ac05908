#include "crypto/sha256.h"

#include "crypto/openssl_handles.h"

namespace tagsmith::crypto {

QByteArray sha256(const QByteArray& data) {
    QByteArray digest(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int length = 0;
    if (EVP_Digest(data.constData(), size_t(data.size()), detail::bytes(digest), &length, EVP_sha256(), nullptr) != 1)
        return {};
    digest.truncate(length);
    return digest;
}

} // namespace tagsmith::crypto
