#pragma once

#include "report/model_records.h"

#include <QList>
#include <QString>

namespace tagsmith::report {

// The process-wide A-number rule table: loaded once at start-up, before any
// other thread exists, and read-only afterwards, so any thread may read it.
const QList<AModelRule>& aRules();
void setARules(QList<AModelRule> rules);

// The rules of an a-models.json file; empty when the file is missing,
// unreadable, oversized or does not decode. No message: an empty table only
// means that no report gets an A-number.
QList<AModelRule> loadARules(const QString& path);

// The file name of the rule table among the bundle's resources.
inline const QString kARulesFileName = QStringLiteral("a-models.json");

} // namespace tagsmith::report
