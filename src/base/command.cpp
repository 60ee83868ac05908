#include "base/command.h"

#include "base/process.h"

namespace tagsmith::base {

QString runCommand(const QString& path, const QStringList& arguments) {
    return QString::fromUtf8(
        runProcess({.program = path, .arguments = arguments, .outputWhateverStatus = true}).output);
}

} // namespace tagsmith::base
