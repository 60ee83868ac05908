#pragma once

#include <QByteArray>

#include <optional>

namespace tagsmith::crypto {

// HKDF with SHA-256 (extract then expand). An empty salt means the
// hash-length zero salt. Absent for a length the construction cannot give
// (0 or over 255 × 32 bytes) or a library failure.
std::optional<QByteArray> hkdfSha256(const QByteArray& inputKeyMaterial, const QByteArray& salt, const QByteArray& info,
                                     int length);

} // namespace tagsmith::crypto
