#include "label/printer_command.h"

#include <QProcess>

namespace tagsmith::label {

PrinterCommandResult printerCommand(const QString& path, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(path, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        return {-1, process.errorString()};
    process.waitForFinished(-1);
    const QString output = QString::fromUtf8(process.readAll());
    if (process.exitStatus() != QProcess::NormalExit)
        return {-1, output.isEmpty() ? process.errorString() : output};
    return {process.exitCode(), output};
}

} // namespace tagsmith::label
