#pragma once

#include <QString>

namespace tagsmith::test {

inline QString sourcePath(const QString& relative) {
    return QStringLiteral(TAGSMITH_SOURCE_DIR "/") + relative;
}

inline QString buildPath(const QString& relative) {
    return QStringLiteral(TAGSMITH_BUILD_DIR "/") + relative;
}

} // namespace tagsmith::test
