#pragma once

#include <QByteArray>

namespace tagsmith::crypto {

inline constexpr int kEd25519PublicKeyBytes = 32;
inline constexpr int kEd25519SignatureBytes = 64;

// Whether signature is a valid Ed25519 signature of message by the raw 32-byte
// public key. Any malformed input is simply not valid.
bool isValidEd25519Signature(const QByteArray& signature, const QByteArray& message, const QByteArray& publicKey);

} // namespace tagsmith::crypto
