#include "crypto/ed25519.h"

#include "crypto/openssl_handles.h"

namespace tagsmith::crypto {

using detail::bytes;

bool isValidEd25519Signature(const QByteArray& signature, const QByteArray& message, const QByteArray& publicKey) {
    if (publicKey.size() != kEd25519PublicKeyBytes || signature.size() != kEd25519SignatureBytes)
        return false;
    const detail::PKey key(
        EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, bytes(publicKey), size_t(publicKey.size())));
    const detail::DigestContext context(EVP_MD_CTX_new());
    return key && context && EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) == 1 &&
           EVP_DigestVerify(context.get(), bytes(signature), size_t(signature.size()), bytes(message),
                            size_t(message.size())) == 1;
}

} // namespace tagsmith::crypto
