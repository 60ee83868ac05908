#pragma once

#include "support/paths.h"

#include <QProcess>
#include <QStringList>

namespace tagsmith::test {

struct CliRun {
    int exitCode = -1;
    QByteArray standardOutput;
    QByteArray standardError;
};

inline QString cliPath() {
    return buildPath(QStringLiteral("Tagsmith.app/Contents/MacOS/tagsmith"));
}

// The command line for a process in a network namespace.
inline QStringList inNamespace(const QString& name, const QStringList& arguments) {
    return QStringList{QStringLiteral("netns"), QStringLiteral("exec"), name, cliPath()} + arguments;
}

// Runs the engineer's command line from the workstation bundle, as installed,
// without XDG_RUNTIME_DIR; with a namespace name, inside that network namespace.
inline CliRun runCli(const QStringList& arguments, const QByteArray& input = {}, int timeoutMs = 30000,
                     const QString& netns = {}) {
    QProcess process;
    // As in a root shell or CI, where Qt would warn about it on standard error.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    process.setProcessEnvironment(environment);
    if (netns.isEmpty())
        process.start(cliPath(), arguments);
    else
        process.start(QStringLiteral("ip"), inNamespace(netns, arguments));
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs))
        process.kill();
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

} // namespace tagsmith::test
