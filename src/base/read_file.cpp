#include "base/read_file.h"

#include <QFile>

namespace tagsmith::base {

Result<QByteArray> readFileUpTo(const QString& path, qint64 maxBytes) {
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.read(maxBytes);
    if (!file.isOpen() || file.error() != QFileDevice::NoError)
        return Error{QStringLiteral("文件"), 1, QStringLiteral("无法读取文件“%1”。").arg(path)};
    return bytes;
}

Result<QByteArray> readFileAtMost(const QString& path, qint64 maxBytes) {
    Result<QByteArray> bytes = readFileUpTo(path, maxBytes + 1);
    if (bytes && bytes->size() > maxBytes)
        return Error{QStringLiteral("文件"), 2, QStringLiteral("文件“%1”过大。").arg(path)};
    return bytes;
}

} // namespace tagsmith::base
