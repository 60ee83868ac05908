#pragma once

#include "cli/command_line.h"

#include <QList>
#include <QString>

#include <functional>

namespace tagsmith::cli {

// Exit statuses shared by every verb.
enum ExitStatus { kSuccess = 0, kFailure = 1, kUsage = 2 };

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
QList<Verb> reportVerbs();   // validate, summary
QList<Verb> labelVerbs();    // label, rows
QList<Verb> cableVerbs();    // cable links, cable serve
QList<Verb> cableV1Verbs();  // cable serve-v1, push, pull, receive
QList<Verb> relayVerbs();    // relay send
QList<Verb> assembleVerbs(); // assemble
QList<Verb> historyVerbs();  // history list, find, export, rebuild

// Failure output: one line of Chinese on standard error.
int fail(const QString& description);
void printLine(const QString& text);

} // namespace tagsmith::cli
