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

} // namespace tagsmith::cli
