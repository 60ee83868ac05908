#pragma once

#include "base/result.h"
#include "cli/command_line.h"

#include <QList>
#include <QString>

#include <functional>

namespace tagsmith::cli {

// Exit statuses shared by every verb.
enum ExitStatus { kSuccess = 0, kFailure = 1, kUsage = 2, kInterrupted = 130 };

struct Verb {
    QStringList name;  // one or two words: {"validate"}, {"cable", "links"}
    QString synopsis;  // the usage line after the program name
    int positionalMin; // positional arguments after the name
    int positionalMax; // -1: no upper limit
    OptionSpec options;
    std::function<int(const CommandLine&)> run;
};

// Verb groups, one file each.
QList<Verb> allVerbs();
QList<Verb> reportVerbs();     // validate, summary
QList<Verb> labelVerbs();      // label, rows
QList<Verb> cableVerbs();      // cable links, cable serve
QList<Verb> cableV1Verbs();    // cable serve-v1, push, pull, receive
QList<Verb> cableFetchVerbs(); // cable fetch
QList<Verb> relayVerbs();      // relay send, relay receive
QList<Verb> assembleVerbs();   // assemble
QList<Verb> historyVerbs();    // history list, find, export, rebuild

// "-" as a FILE reads standard input, as an OUT writes standard output.
inline const QString kStandardStream = QStringLiteral("-");
// Writes bytes (a PDF, a PNG, a CSV) to standard output as they are.
Result<void> writeStandardOutput(const QByteArray& bytes);

// Failure output: one line of Chinese on standard error.
int fail(const QString& description);
void printLine(const QString& text);

// Machine-readable output, where a verb prints records.
inline const QString kJsonOption = QStringLiteral("--json");
// Text lines one per line, or with --json as one JSON array of strings.
void printLines(const QStringList& lines, const CommandLine& line);

} // namespace tagsmith::cli
