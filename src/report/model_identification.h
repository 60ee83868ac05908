#pragma once

#include "base/result.h"
#include "report/a_rules.h"
#include "report/model_records.h"
#include "report/report.h"

#include <optional>

namespace tagsmith::report {

// The file name of the models table among the bundle's resources.
inline const QString kModelTableFileName = QStringLiteral("models.json");

// The models table of a file, failing with the reason; for callers that must
// tell the operator.
Result<ModelTable> loadModelTable(const QString& path);

// The main bundle's models table, read afresh on every call; empty when it is
// missing or does not decode.
ModelTable modelMap();

// A chip text as rule tables store it: upper case without APPLE and spaces,
// every Intel processor as INTEL ("Apple M1 Pro" gives M1PRO).
QString normalisedChip(const QString& chip);

// The one rule that fits the report; none when no rule or several fit, since
// an ambiguous A-number must not be printed.
std::optional<AModelRule> matchingARule(const Report& report, const QList<AModelRule>& rules = aRules());

// The report with its empty years and inches and its absent or empty exterior
// taken from the matching rule; unchanged without one. Values already present
// (an exterior typed by the operator, several candidate years) are kept.
Report enrichA(Report report, const QList<AModelRule>& rules = aRules());

} // namespace tagsmith::report
