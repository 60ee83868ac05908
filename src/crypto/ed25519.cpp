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

namespace tagsmith::crypto {

namespace {

detail::PKey privateKeyFromSeed(const QByteArray& seed) {
    if (seed.size() != kEd25519SeedBytes)
        return nullptr;
    return detail::PKey(EVP_PKEY_new_raw_private_key(EVP_PKEY_ED25519, nullptr, bytes(seed), size_t(seed.size())));
}

} // namespace

std::optional<QByteArray> ed25519PublicKey(const QByteArray& seed) {
    const detail::PKey key = privateKeyFromSeed(seed);
    QByteArray raw(kEd25519PublicKeyBytes, Qt::Uninitialized);
    size_t length = size_t(raw.size());
    if (!key || EVP_PKEY_get_raw_public_key(key.get(), bytes(raw), &length) != 1 ||
        length != size_t(kEd25519PublicKeyBytes))
        return std::nullopt;
    return raw;
}

std::optional<QByteArray> signEd25519(const QByteArray& message, const QByteArray& seed) {
    const detail::PKey key = privateKeyFromSeed(seed);
    const detail::DigestContext context(EVP_MD_CTX_new());
    QByteArray signature(kEd25519SignatureBytes, Qt::Uninitialized);
    size_t length = size_t(signature.size());
    if (!key || !context || EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1 ||
        EVP_DigestSign(context.get(), bytes(signature), &length, bytes(message), size_t(message.size())) != 1 ||
        length != size_t(kEd25519SignatureBytes))
        return std::nullopt;
    return signature;
}

} // namespace tagsmith::crypto
