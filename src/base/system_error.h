#pragma once

#include <QString>

namespace tagsmith::base {

// The operator's words for a system error number (errno). The system's own
// text is English, and an error line must read as one language.
QString systemErrorText(int code);

} // namespace tagsmith::base
