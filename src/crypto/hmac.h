#pragma once

#include <QByteArray>

namespace tagsmith::crypto {

inline constexpr int kHmacSha256Bytes = 32;

// HMAC-SHA256 of data under key; empty only if the library fails.
QByteArray hmacSha256(const QByteArray& key, const QByteArray& data);

// Whether code is the HMAC-SHA256 of data under key. Compares in constant time
// so that a peer guessing byte by byte learns nothing from the timing.
bool isValidHmacSha256(const QByteArray& code, const QByteArray& key, const QByteArray& data);

} // namespace tagsmith::crypto
