#include "cli/resources.h"

#include "base/bundle.h"

namespace tagsmith::cli {

QString resourcePath(const CommandLine& line, const QString& name) {
    if (line.has(kResourcesOption))
        return line.option(kResourcesOption) + u'/' + name;
    return base::Bundle::main().resourcePath(name);
}

QString receiverKeyPath(const CommandLine& line) {
    if (line.has(kKeyFileOption))
        return line.option(kKeyFileOption);
    return resourcePath(line, QStringLiteral("receiver.json"));
}

} // namespace tagsmith::cli
