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

// Runs the engineer's command line from the workstation bundle, as installed.
inline CliRun runCli(const QStringList& arguments, const QByteArray& input = {}, int timeoutMs = 30000) {
    QProcess process;
    process.start(buildPath(QStringLiteral("Tagsmith.app/Contents/MacOS/tagsmith")), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs))
        process.kill();
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

} // namespace tagsmith::test
