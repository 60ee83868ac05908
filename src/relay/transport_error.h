#pragma once

#include "base/result.h"

namespace tagsmith::relay {

// Failures of the connection itself, worth another attempt unlike the relay's
// own answers. The code is libcurl's, kept in the text for support.
inline const QString kTransportErrorDomain = QStringLiteral("网络");

// A short Chinese description of a libcurl result, told apart further by the
// system's error number where libcurl lumps causes together.
Error transportError(int curlCode, long systemErrorNumber = 0);

// The failure of a request that the caller cancelled; never retried.
Error cancelledError();
bool isCancellation(const Error& error);

} // namespace tagsmith::relay
