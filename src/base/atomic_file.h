#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QString>

namespace tagsmith::base {

// Writes the whole file or nothing: readers see either the old content or the
// new one, never a partial file. Creates missing parent folders.
Result<void> writeFileAtomically(const QString& path, const QByteArray& content);

} // namespace tagsmith::base
