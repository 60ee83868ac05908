#include "base/atomic_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace tagsmith::base {

namespace {

Error writeError(const QString& path, const QString& reason) {
    return {QStringLiteral("文件"), 1,
            QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(path), reason)};
}

// The system's own text is English; the cause is told again in Chinese.
QString openFailure(const QString& path) {
    if (QFileInfo(path).isDir())
        return QStringLiteral("同名文件夹已存在");
    if (!QFileInfo(QFileInfo(path).absolutePath()).isWritable())
        return QStringLiteral("没有写入该文件夹的权限");
    return QStringLiteral("无法创建文件");
}

} // namespace

Result<void> writeFileAtomically(const QString& path, const QByteArray& content) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return writeError(path, QStringLiteral("无法创建文件夹"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return writeError(path, openFailure(path));
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return writeError(path, QStringLiteral("写入中断，磁盘可能已满"));
    }
    if (!file.commit())
        return writeError(path, QStringLiteral("无法保存，磁盘可能已满或没有权限"));
    return {};
}

} // namespace tagsmith::base
