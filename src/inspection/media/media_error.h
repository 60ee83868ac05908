#pragma once

#include "base/result.h"

namespace tagsmith::inspection::media {

inline const QString kMediaErrorDomain = QStringLiteral("Lintwork.Media");

// A hardware failure as the media pages show it: the message is the operator's text.
inline Error mediaError(const QString& message) {
    return {kMediaErrorDomain, 1, message};
}

} // namespace tagsmith::inspection::media
