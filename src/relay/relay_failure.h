#pragma once

#include "base/result.h"

#include <QString>

namespace tagsmith::relay {

// A failure of the relay hand-over whose one message is what the operator
// reads after "发送未完成：". Transport failures have a domain of their own.
inline const QString kRelayFailureDomain = QStringLiteral("中转");

inline Error relayFailure(const QString& message) {
    return {kRelayFailureDomain, 0, message};
}

} // namespace tagsmith::relay
