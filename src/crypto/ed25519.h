#pragma once

#include <QByteArray>

#include <optional>

namespace tagsmith::crypto {

inline constexpr int kEd25519PublicKeyBytes = 32;
inline constexpr int kEd25519SignatureBytes = 64;

// Whether signature is a valid Ed25519 signature of message by the raw 32-byte
// public key. Any malformed input is simply not valid.
bool isValidEd25519Signature(const QByteArray& signature, const QByteArray& message, const QByteArray& publicKey);

} // namespace tagsmith::crypto

namespace tagsmith::crypto {

inline constexpr int kEd25519SeedBytes = 32;

// The raw public key of the private key given by its 32-byte seed; absent for
// another length or a library failure.
std::optional<QByteArray> ed25519PublicKey(const QByteArray& seed);

// The deterministic Ed25519 signature of message by the private key given by
// its 32-byte seed; absent for another seed length or a library failure.
std::optional<QByteArray> signEd25519(const QByteArray& message, const QByteArray& seed);

} // namespace tagsmith::crypto
