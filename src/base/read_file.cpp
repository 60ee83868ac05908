#include "base/read_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tagsmith::base {

namespace {

// Each cause of a failed read asks the operator for something different.
QString readFailure(const QString& path) {
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!info.exists())
        return QStringLiteral("文件不存在：%1").arg(shown);
    if (info.isDir())
        return QStringLiteral("这是文件夹，不是文件：%1").arg(shown);
    if (!info.isReadable())
        return QStringLiteral("没有权限读取文件：%1").arg(shown);
    return QStringLiteral("无法读取文件：%1").arg(shown);
}

} // namespace

Result<QByteArray> readFileUpTo(const QString& path, qint64 maxBytes) {
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.read(maxBytes);
    if (!file.isOpen() || file.error() != QFileDevice::NoError)
        return Error{QStringLiteral("文件"), 1, readFailure(path)};
    return bytes;
}

Result<QByteArray> readFileAtMost(const QString& path, qint64 maxBytes) {
    Result<QByteArray> bytes = readFileUpTo(path, maxBytes + 1);
    if (bytes && bytes->size() > maxBytes)
        return Error{QStringLiteral("文件"), 2,
                     QStringLiteral("文件过大（超过 %1 字节）：%2").arg(maxBytes).arg(QDir::toNativeSeparators(path))};
    return bytes;
}

} // namespace tagsmith::base
