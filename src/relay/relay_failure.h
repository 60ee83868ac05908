#pragma once

#include "base/result.h"

#include <QString>

namespace tagsmith::relay {

// A failure of the relay hand-over whose one message is what the operator
// reads after "发送未完成：". Transport failures have their own domain, so
// the client can tell which failures are worth another attempt.
inline const QString kRelayFailureDomain = QStringLiteral("中转");

inline Error relayFailure(const QString& message) {
    return {kRelayFailureDomain, 0, message};
}

inline bool isRelayFailure(const Error& error) {
    return error.domain == kRelayFailureDomain;
}

} // namespace tagsmith::relay
