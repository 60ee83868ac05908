#include "l10n/l10n.h"

#include "base/bundle.h"

namespace tagsmith {

const l10n::UILocalizer& L10n::current() {
    // C++ guarantees thread-safe one-time initialisation of function statics.
    static const l10n::UILocalizer localizer = [] {
        const base::Bundle& bundle = base::Bundle::main();
        return l10n::UILocalizer::fromDirectory(bundle.isEmpty() ? QString()
                                                                 : bundle.resourcePath(QStringLiteral("locales")));
    }();
    return localizer;
}

} // namespace tagsmith
