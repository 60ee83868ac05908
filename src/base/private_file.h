#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QString>

namespace tagsmith::base {

// Writes a secret (a private key, a token) atomically into a file that only
// its owner may read or write (mode 0600) from the moment it exists, so that
// no other account can catch it even while it is being written.
Result<void> writePrivateFile(const QString& path, const QByteArray& content);

} // namespace tagsmith::base
