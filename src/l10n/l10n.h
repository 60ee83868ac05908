#pragma once

#include "l10n/ui_localizer.h"

namespace tagsmith {

// The program's one localizer, built on first use from the main bundle's
// catalogues and read-only afterwards, so any thread may look texts up.
struct L10n {
    static const l10n::UILocalizer& current();
    static QString t(const QString& key, const QVariantMap& args = {}) { return current().text(key, args); }
    static QString source(const QString& text) { return current().source(text); }
    static QString date(const QDateTime& date) { return current().date(date); }
};

} // namespace tagsmith
