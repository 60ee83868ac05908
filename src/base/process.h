#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

namespace tagsmith::base {

// What becomes of a child's standard error.
enum class ErrorOutput {
    Null,     // the null device
    Merged,   // into standard output, in the order written
    Captured, // kept apart in ProcessResult::errors
};

// How to run one system tool. Standard input is always the null device: no
// tool we run reads it, and one that tried would otherwise wait for ever.
struct ProcessSpec {
    QString program{};
    QStringList arguments{};
    QHash<QString, QString> environment{}; // added to the inherited environment
    ErrorOutput errors = ErrorOutput::Null;
    std::optional<std::chrono::milliseconds> timeLimit{}; // the tool is killed when it runs longer
    std::optional<qsizetype> outputLimit{};               // the tool is killed when it prints more
    bool outputWhateverStatus = false;                    // false: output only from a run that exited with 0
    // Qt 6.4's QProcess keeps a descriptor open for each program it fails to
    // start, and a missing tool is asked again every few seconds, so without
    // this check the process would run out of descriptors within minutes.
    bool checkExecutable = true;
};

// Untranslated messages, so that patterns and logs see one language.
inline const QHash<QString, QString> kCLocale{{QStringLiteral("LC_ALL"), QStringLiteral("C")}};

struct ProcessResult {
    enum class End { NotStarted, Exited, Crashed, TimedOut, OutputTooLarge };

    End end = End::NotStarted;
    int exitCode = -1;
    QByteArray output; // standard output, with standard error when merged
    QByteArray errors; // standard error when captured
    QString failure;   // why the tool did not start or crashed, in the operator's words

    bool succeeded() const { return end == End::Exited && exitCode == 0; }
};

// Runs the tool to completion on the calling thread. Output past the policy
// (a failed run without outputWhateverStatus) comes back empty.
ProcessResult runProcess(const ProcessSpec& request);

// Starts the tool and leaves it running on its own, every standard stream on
// the null device. Nothing once it started; otherwise why not, in the operator's words.
std::optional<QString> startDetached(const QString& program, const QStringList& arguments);

// Whether path names a file this process may execute.
bool isExecutableFile(const QString& path);

} // namespace tagsmith::base
