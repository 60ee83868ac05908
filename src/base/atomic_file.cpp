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

} // namespace

Result<void> writeFileAtomically(const QString& path, const QByteArray& content) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return writeError(path, QStringLiteral("无法创建文件夹"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return writeError(path, file.errorString());
    if (file.write(content) != content.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return writeError(path, reason);
    }
    if (!file.commit())
        return writeError(path, file.errorString());
    return {};
}

} // namespace tagsmith::base
