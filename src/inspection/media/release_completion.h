#pragma once

#include <functional>

namespace tagsmith::inspection::media {

// Answers, on the main thread, whether a device was released (true) or could
// not be released in time (false).
using ReleaseCompletion = std::function<void(bool released)>;

// Asks the other media page to release its device before this page opens its own.
using PrepareForUse = std::function<void(ReleaseCompletion)>;

} // namespace tagsmith::inspection::media
