#include "base/process.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

namespace tagsmith::base {

namespace {

void start(QProcess& process, const ProcessSpec& request) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (auto it = request.environment.cbegin(); it != request.environment.cend(); ++it)
        environment.insert(it.key(), it.value());
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    if (request.errors == ErrorOutput::Null)
        process.setStandardErrorFile(QProcess::nullDevice());
    else if (request.errors == ErrorOutput::Merged)
        process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(request.program, request.arguments, QIODevice::ReadOnly);
}

// The system's words are English and name internals ("execvp"); the
// operator needs the cause in one language.
QString failureText(QProcess::ProcessError error) {
    switch (error) {
    case QProcess::FailedToStart:
        return QStringLiteral("无法启动（程序不存在或没有执行权限）");
    case QProcess::Crashed:
        return QStringLiteral("程序异常退出");
    case QProcess::Timedout:
        return QStringLiteral("等待超时");
    case QProcess::ReadError:
    case QProcess::WriteError:
        return QStringLiteral("与程序通信失败");
    case QProcess::UnknownError:
        break;
    }
    return QStringLiteral("未知错误");
}

// Reads until the tool exits or overruns a limit.
ProcessResult::End readToEnd(QProcess& process, const ProcessSpec& request, ProcessResult& result) {
    const QDeadlineTimer deadline =
        request.timeLimit ? QDeadlineTimer(*request.timeLimit) : QDeadlineTimer(QDeadlineTimer::Forever);
    while (true) {
        result.output += process.readAllStandardOutput();
        result.errors += process.readAllStandardError();
        if (request.outputLimit && result.output.size() + result.errors.size() > *request.outputLimit)
            return ProcessResult::End::OutputTooLarge;
        if (process.state() == QProcess::NotRunning)
            return process.exitStatus() == QProcess::NormalExit ? ProcessResult::End::Exited
                                                                : ProcessResult::End::Crashed;
        if (deadline.hasExpired())
            return ProcessResult::End::TimedOut;
        process.waitForReadyRead(deadline.isForever() ? -1 : int(std::max<qint64>(deadline.remainingTime(), 1)));
    }
}

} // namespace

ProcessResult runProcess(const ProcessSpec& request) {
    ProcessResult result;
    if (request.checkExecutable && !isExecutableFile(request.program))
        return result;
    QProcess process;
    start(process, request);
    if (!process.waitForStarted(-1)) {
        result.failure = failureText(process.error());
        return result;
    }
    result.end = readToEnd(process, request, result);
    if (result.end == ProcessResult::End::TimedOut || result.end == ProcessResult::End::OutputTooLarge) {
        process.kill();
        process.waitForFinished(-1);
    }
    if (result.end == ProcessResult::End::Exited)
        result.exitCode = process.exitCode();
    if (result.end == ProcessResult::End::Crashed)
        result.failure = failureText(process.error());
    if (!result.succeeded() && !request.outputWhateverStatus) {
        result.output.clear();
        result.errors.clear();
    }
    return result;
}

std::optional<QString> startDetached(const QString& program, const QStringList& arguments) {
    QProcess child;
    child.setProgram(program);
    child.setArguments(arguments);
    child.setStandardInputFile(QProcess::nullDevice());
    child.setStandardOutputFile(QProcess::nullDevice());
    child.setStandardErrorFile(QProcess::nullDevice());
    if (!child.startDetached())
        return failureText(child.error());
    return std::nullopt;
}

bool isExecutableFile(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

} // namespace tagsmith::base
