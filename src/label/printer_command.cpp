#include "label/printer_command.h"

#include "base/process.h"

namespace tagsmith::label {

PrinterCommandResult printerCommand(const QString& path, const QStringList& arguments) {
    // Unchecked, so that a missing tool reports the system's reason to the operator.
    const base::ProcessResult run = base::runProcess({.program = path,
                                                      .arguments = arguments,
                                                      .environment = base::kCLocale,
                                                      .errors = base::ErrorOutput::Merged,
                                                      .outputWhateverStatus = true,
                                                      .checkExecutable = false});
    const QString output = QString::fromUtf8(run.output);
    if (run.end == base::ProcessResult::End::NotStarted)
        return {-1, run.failure};
    if (run.end != base::ProcessResult::End::Exited)
        return {-1, output.isEmpty() ? run.failure : output};
    return {run.exitCode, output};
}

} // namespace tagsmith::label
