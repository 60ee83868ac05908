#pragma once

#include <QByteArray>

#include <optional>

namespace tagsmith::crypto {

// Bytes from the cryptographically secure generator; absent if it fails.
std::optional<QByteArray> randomBytes(qsizetype count);

} // namespace tagsmith::crypto
