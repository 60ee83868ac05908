#include "base/private_file.h"

#include "base/owned_fd.h"
#include "base/system_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tagsmith::base {

namespace {

Error writeError(const QString& path, const QString& reason) {
    return {QStringLiteral("文件"), 1,
            QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(path), reason)};
}

QString systemReason() {
    return systemErrorText(errno);
}

bool writeAll(int fd, const QByteArray& content) {
    qsizetype written = 0;
    while (written < content.size()) {
        const ssize_t step = ::write(fd, content.constData() + written, size_t(content.size() - written));
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0)
            return false;
        written += step;
    }
    return ::fsync(fd) == 0;
}

} // namespace

Result<void> writePrivateFile(const QString& path, const QByteArray& content) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return writeError(path, QStringLiteral("无法创建文件夹"));
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".new";
    ::unlink(temporary.constData()); // a leftover of an interrupted write
    const OwnedFd file(::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!file)
        return writeError(path, systemReason());
    if (!writeAll(file.get(), content) || ::rename(temporary.constData(), target.constData()) != 0) {
        const QString reason = systemReason();
        ::unlink(temporary.constData());
        return writeError(path, reason);
    }
    return {};
}

} // namespace tagsmith::base
