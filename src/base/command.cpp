#include "base/command.h"

#include <QFileInfo>
#include <QProcess>

namespace tagsmith::base {

QString runCommand(const QString& path, const QStringList& arguments) {
    if (!isExecutableFile(path))
        return {};
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(path, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        return {};
    process.waitForFinished(-1);
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool isExecutableFile(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

} // namespace tagsmith::base
