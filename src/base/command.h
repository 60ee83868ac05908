#pragma once

#include <QString>
#include <QStringList>

namespace tagsmith::base {

// Runs a system tool to completion and returns what it printed on standard
// output, decoded as UTF-8 with invalid bytes replaced. Standard input and
// standard error are the null device; the environment is inherited. Returns
// empty text when the tool cannot be started. There is no time limit: callers
// that need one have their own runner.
QString runCommand(const QString& path, const QStringList& arguments);

// Whether path names a file this process may execute. Every runner checks it
// before starting: Qt 6.4's QProcess keeps a descriptor open for each program
// it fails to start, and a missing tool is asked again every few seconds, so
// the process would run out of descriptors within minutes.
bool isExecutableFile(const QString& path);

} // namespace tagsmith::base
