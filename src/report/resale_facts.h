#pragma once

#include "report/report.h"

#include <QString>
#include <QStringList>

namespace tagsmith::report {

// The words the resale-safety members may hold.
namespace resale {
inline const QString kEnabled = QStringLiteral("enabled");
inline const QString kDisabled = QStringLiteral("disabled");
inline const QString kDep = QStringLiteral("dep");
inline const QString kMdm = QStringLiteral("mdm");
inline const QString kNone = QStringLiteral("none");
inline const QString kVerified = QStringLiteral("verified");
inline const QString kFailing = QStringLiteral("failing");
} // namespace resale

// Each resale-safety member is absent or one of its words.
bool hasValidResaleFacts(const Report& report);

// What a clerk must settle before taking the Mac in: one line per bad fact,
// none for a clean Mac or unknown facts.
QStringList resaleWarnings(const Report& report);

} // namespace tagsmith::report
