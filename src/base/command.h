#pragma once

#include <QString>
#include <QStringList>

namespace tagsmith::base {

// Runs a system tool to completion and returns what it printed on standard
// output, decoded as UTF-8 with invalid bytes replaced, whatever its exit
// status. Standard input and standard error are the null device; the
// environment is inherited. Returns empty text when the tool cannot be
// started. There is no time limit: callers that need one have their own runner.
QString runCommand(const QString& path, const QStringList& arguments);

} // namespace tagsmith::base
