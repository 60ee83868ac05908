#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QString>

namespace tagsmith::base {

// Reads at most maxBytes bytes from the start of the file, so a huge or
// endless file (a FIFO, /dev/zero) cannot exhaust memory. Callers that must
// reject oversized input ask for one byte more than they accept.
Result<QByteArray> readFileUpTo(const QString& path, qint64 maxBytes);

// The whole file, or a failure that names it when it is unreadable or larger
// than maxBytes: for inputs that are useless when cut short.
Result<QByteArray> readFileAtMost(const QString& path, qint64 maxBytes);

} // namespace tagsmith::base
