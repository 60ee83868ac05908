#pragma once

#include <QByteArray>

namespace tagsmith::crypto {

// The 32-byte SHA-256 digest; empty only if the library fails.
QByteArray sha256(const QByteArray& data);

} // namespace tagsmith::crypto
