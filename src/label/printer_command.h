#pragma once

#include <QString>
#include <QStringList>

namespace tagsmith::label {

struct PrinterCommandResult {
    int status = -1; // the tool's exit status; -1 when it could not be started
    QString output;  // standard output and standard error together, or the start error
};

// Runs a printing tool (lp, lpstat) to completion with LC_ALL=C, so its
// messages are in a stable language, and returns what it printed on either
// stream. Standard input is the null device.
PrinterCommandResult printerCommand(const QString& path, const QStringList& arguments);

} // namespace tagsmith::label
