#pragma once

#include <QByteArray>

#include <memory>
#include <optional>

namespace tagsmith::crypto {

inline constexpr int kX25519KeyBytes = 32;

// An X25519 private key for one key agreement (raw 32-byte keys on the wire).
class X25519PrivateKey {
public:
    // A new random key; absent only if the library fails.
    static std::optional<X25519PrivateKey> generate();
    // Absent unless raw is exactly 32 bytes.
    static std::optional<X25519PrivateKey> fromRaw(const QByteArray& raw);

    QByteArray publicKey() const;

    // Absent when the peer key is not 32 bytes or is a low-order point, whose
    // all-zero secret would let anyone on the wire compute the session key.
    std::optional<QByteArray> sharedSecret(const QByteArray& peerPublicKey) const;

private:
    struct Free {
        void operator()(void* key) const;
    };
    explicit X25519PrivateKey(void* key) : m_key(key) {}
    std::unique_ptr<void, Free> m_key; // an EVP_PKEY, kept opaque outside this file
};

} // namespace tagsmith::crypto
