#pragma once

#include <QFile>
#include <QString>

namespace tagsmith::test {

inline QString sourcePath(const QString& relative) {
    return QStringLiteral(TAGSMITH_SOURCE_DIR "/") + relative;
}

inline QString buildPath(const QString& relative) {
    return QStringLiteral(TAGSMITH_BUILD_DIR "/") + relative;
}

// Writes a script (or its data) that only its owner may change or run; returns the path.
inline QString writeExecutable(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace tagsmith::test
