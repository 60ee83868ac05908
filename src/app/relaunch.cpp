#include "app/relaunch.h"

#include "base/process.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <filesystem>

namespace tagsmith::app {

namespace {

Error relaunchError(const QString& description) {
    return {QStringLiteral("启动"), 1, description};
}

bool copyEntry(const QFileInfo& entry, const QString& destination) {
    if (entry.isSymLink()) {
        // The link's own text, so relative links keep pointing inside the copy.
        std::error_code error;
        const auto target = std::filesystem::read_symlink(QFile::encodeName(entry.filePath()).toStdString(), error);
        return !error && QFile::link(QFile::decodeName(target.c_str()), destination);
    }
    if (entry.isDir())
        return QDir().mkpath(destination);
    return QFile::copy(entry.filePath(), destination); // QFile::copy keeps the permission bits
}

// Symbolic links (framework versions inside a bundle) are recreated, not followed.
Result<void> copyTree(const QString& source, const QString& destination) {
    if (!QDir().mkpath(destination))
        return relaunchError(QStringLiteral("无法创建文件夹 %1").arg(QDir::toNativeSeparators(destination)));
    QDirIterator it(source, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir sourceDir(source);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString target = destination + QLatin1Char('/') + sourceDir.relativeFilePath(entry.filePath());
        if (!copyEntry(entry, target))
            return relaunchError(QStringLiteral("无法复制 %1").arg(QDir::toNativeSeparators(entry.filePath())));
    }
    return {};
}

Result<void> startCopy(const QString& executable) {
    if (const auto failure = base::startDetached(executable, {QStringLiteral("--temporary-run")}))
        return relaunchError(QStringLiteral("无法启动 %1：%2").arg(QDir::toNativeSeparators(executable), *failure));
    return {};
}

} // namespace

Result<void> relaunchFromTemporaryCopy(const QString& bundlePath, const QString& temporaryRoot) {
    if (bundlePath.isEmpty())
        return relaunchError(QStringLiteral("程序不在应用程序包中运行，无法复制。"));
    const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QString runtimeDir = QDir(temporaryRoot).filePath(QStringLiteral("TagsmithRuntime-") + uuid);
    const QString copy = runtimeDir + QLatin1Char('/') + QFileInfo(bundlePath).fileName();
    if (auto copied = copyTree(bundlePath, copy); !copied)
        return copied;
    return startCopy(copy + QStringLiteral("/Contents/MacOS/VOREvo"));
}

} // namespace tagsmith::app
