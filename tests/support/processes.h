#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tagsmith::test {

// Runs a tool to its end, ten seconds at most; whether it succeeded, and what it printed.
inline bool runTool(const QString& tool, const QStringList& arguments, QString* output = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(tool, arguments);
    const bool finished = process.waitForFinished(10000);
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Ends a program the test started: asked first, then forced.
inline void endProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished(2000);
}

} // namespace tagsmith::test
