#pragma once

#include "base/result.h"

#include <QString>

namespace tagsmith::app {

// Copies the bundle into a new "TagsmithRuntime-<UUID>" folder under
// temporaryRoot and starts the copy with only "--temporary-run", so the USB
// stick it came from can be ejected. Returns once the copy has started; the
// copy is never removed.
Result<void> relaunchFromTemporaryCopy(const QString& bundlePath, const QString& temporaryRoot);

} // namespace tagsmith::app
