#pragma once

#include <QByteArray>

#include <optional>

namespace tagsmith::crypto {

inline constexpr int kAesKeyBytes = 32;
inline constexpr int kAesGcmNonceBytes = 12;
inline constexpr int kAesGcmTagBytes = 16;
// A sealed box (nonce ‖ ciphertext ‖ tag) is this much longer than its plaintext.
inline constexpr int kSealedBoxOverhead = kAesGcmNonceBytes + kAesGcmTagBytes;

// AES-256-GCM in the combined form: 12-byte nonce, ciphertext, 16-byte tag.
// A fresh random nonce is drawn for every seal. Absent when the key is not
// 32 bytes or the library fails.
std::optional<QByteArray> seal(const QByteArray& key, const QByteArray& plaintext,
                               const QByteArray& associatedData = {});

// The same with a caller-chosen nonce, for reproducing known boxes. Reusing a
// nonce under one key breaks GCM, so everything else goes through seal().
std::optional<QByteArray> sealWithNonce(const QByteArray& key, const QByteArray& nonce, const QByteArray& plaintext,
                                        const QByteArray& associatedData = {});

// Absent for a box shorter than nonce plus tag, a wrong key, other associated
// data, or any altered byte; no partial plaintext is ever returned.
std::optional<QByteArray> open(const QByteArray& key, const QByteArray& sealedBox,
                               const QByteArray& associatedData = {});

} // namespace tagsmith::crypto
