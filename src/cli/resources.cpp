#include "cli/resources.h"

#include "base/bundle.h"

namespace tagsmith::cli {

QString resourcePath(const CommandLine& line, const QString& name) {
    if (line.has(kResourcesOption))
        return line.option(kResourcesOption) + u'/' + name;
    return base::Bundle::main().resourcePath(name);
}

} // namespace tagsmith::cli
