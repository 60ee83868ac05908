#pragma once

#include "cli/command_line.h"

#include <QString>

namespace tagsmith::cli {

// The option that points a verb at another folder of bundle resources.
inline const QString kResourcesOption = QStringLiteral("--resources");

// A file among the resources a verb uses: those of the folder given with
// --resources, else those of the bundle the program was installed with;
// empty outside a bundle without the option.
QString resourcePath(const CommandLine& line, const QString& name);

// Whether the chosen resources hold every named file or folder; when they do
// not, says which is missing, and why, on standard error.
bool resourcesPresent(const CommandLine& line, const QStringList& names);

// The option that points the cable verbs at another receiver.json.
inline const QString kKeyFileOption = QStringLiteral("--key-file");

// The receiver.json a verb takes the cable key from: the --key-file file, else
// the one among the chosen resources.
QString receiverKeyPath(const CommandLine& line);

} // namespace tagsmith::cli
