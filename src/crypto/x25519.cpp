#include "crypto/x25519.h"

#include "crypto/openssl_handles.h"

namespace tagsmith::crypto {

using detail::bytes;

void X25519PrivateKey::Free::operator()(void* key) const {
    EVP_PKEY_free(static_cast<EVP_PKEY*>(key));
}

std::optional<X25519PrivateKey> X25519PrivateKey::generate() {
    EVP_PKEY* generated = EVP_PKEY_Q_keygen(nullptr, nullptr, "X25519");
    if (generated == nullptr)
        return std::nullopt;
    return X25519PrivateKey(generated);
}

std::optional<X25519PrivateKey> X25519PrivateKey::fromRaw(const QByteArray& raw) {
    if (raw.size() != kX25519KeyBytes)
        return std::nullopt;
    EVP_PKEY* loaded = EVP_PKEY_new_raw_private_key(EVP_PKEY_X25519, nullptr, bytes(raw), size_t(raw.size()));
    if (loaded == nullptr)
        return std::nullopt;
    return X25519PrivateKey(loaded);
}

QByteArray X25519PrivateKey::publicKey() const {
    QByteArray raw(kX25519KeyBytes, Qt::Uninitialized);
    size_t length = size_t(raw.size());
    if (EVP_PKEY_get_raw_public_key(static_cast<EVP_PKEY*>(m_key.get()), bytes(raw), &length) != 1 ||
        length != size_t(kX25519KeyBytes))
        return {};
    return raw;
}

std::optional<QByteArray> X25519PrivateKey::sharedSecret(const QByteArray& peerPublicKey) const {
    if (peerPublicKey.size() != kX25519KeyBytes)
        return std::nullopt;
    const detail::PKey peer(
        EVP_PKEY_new_raw_public_key(EVP_PKEY_X25519, nullptr, bytes(peerPublicKey), size_t(peerPublicKey.size())));
    const detail::PKeyContext context(EVP_PKEY_CTX_new(static_cast<EVP_PKEY*>(m_key.get()), nullptr));
    QByteArray secret(kX25519KeyBytes, Qt::Uninitialized);
    size_t length = size_t(secret.size());
    // The library refuses an all-zero result (a low-order peer point) in derive itself.
    if (!peer || !context || EVP_PKEY_derive_init(context.get()) != 1 ||
        EVP_PKEY_derive_set_peer(context.get(), peer.get()) != 1 ||
        EVP_PKEY_derive(context.get(), bytes(secret), &length) != 1 || length != size_t(kX25519KeyBytes))
        return std::nullopt;
    return secret;
}

} // namespace tagsmith::crypto
