#include "report/model_identification.h"

#include "base/bundle.h"
#include "base/read_file.h"
#include "report/records_json.h"

#include <QRegularExpression>

#include <cmath>

namespace tagsmith::report {

namespace {

constexpr qint64 kMaxModelTableBytes = 4 << 20;

QString seriesOf(const Report& report) {
    const QString name = report.name.toLower();
    if (name.contains(QLatin1String("air")) || report.model.startsWith(QLatin1String("MacBookAir")))
        return QStringLiteral("Air");
    if (name.contains(QLatin1String("pro")) || report.model.startsWith(QLatin1String("MacBookPro")))
        return QStringLiteral("Pro");
    return {};
}

// The whole-inch size class of a size text such as 13.3 or 14.2; absent for
// anything that is not entirely a finite decimal number in the 64-bit range.
std::optional<QString> sizeKey(const QString& inches) {
    static const QRegularExpression decimal(QRegularExpression::anchoredPattern(
        QStringLiteral(R"([+-]?(?:[0-9]+(?:\.[0-9]*)?|\.[0-9]+)(?:[eE][+-]?[0-9]+)?)")));
    if (!decimal.match(inches).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = inches.toDouble(&ok);
    constexpr double kInt64Bound = 9223372036854775808.0; // 2^63
    if (!ok || !std::isfinite(value) || value < -kInt64Bound || value >= kInt64Bound)
        return std::nullopt;
    return QString::number(static_cast<qint64>(value));
}

QStringList sizeKeysOf(const QStringList& inches) {
    QStringList keys;
    for (const QString& text : inches) {
        if (const auto key = sizeKey(text))
            keys.append(*key);
    }
    return keys;
}

bool ruleFits(const AModelRule& rule, const Report& report, const QString& series, const QString& chip,
              const QStringList& sizes) {
    return !series.isEmpty() && rule.series == series && rule.chips.contains(chip) &&
           (report.years.isEmpty() || report.years.contains(rule.year)) &&
           (sizes.isEmpty() || sizes.contains(rule.inches)) &&
           (!rule.modelIDs || rule.modelIDs->contains(report.model));
}

} // namespace

Result<ModelTable> loadModelTable(const QString& path) {
    const Result<QByteArray> bytes = base::readFileAtMost(path, kMaxModelTableBytes);
    if (!bytes)
        return bytes.error();
    return decodeModelTable(*bytes);
}

ModelTable modelMap() {
    const base::Bundle& bundle = base::Bundle::main();
    if (bundle.isEmpty())
        return {};
    Result<ModelTable> table = loadModelTable(bundle.resourcePath(kModelTableFileName));
    return table ? std::move(table).value() : ModelTable();
}

QString normalisedChip(const QString& chip) {
    QString key = chip.toUpper();
    key.remove(QLatin1String("APPLE"));
    key.remove(u' ');
    return key.contains(QLatin1String("INTEL")) ? QStringLiteral("INTEL") : key;
}

std::optional<AModelRule> matchingARule(const Report& report, const QList<AModelRule>& rules) {
    const QString series = seriesOf(report);
    const QString chip = normalisedChip(report.chip.value_or(QString()));
    const QStringList sizes = sizeKeysOf(report.inches);
    std::optional<AModelRule> match;
    for (const AModelRule& rule : rules) {
        if (!ruleFits(rule, report, series, chip, sizes))
            continue;
        if (match)
            return std::nullopt;
        match = rule;
    }
    return match;
}

Report enrichA(Report report, const QList<AModelRule>& rules) {
    const std::optional<AModelRule> rule = matchingARule(report, rules);
    if (!rule)
        return report;
    if (report.years.isEmpty())
        report.years = {rule->year};
    if (report.inches.isEmpty())
        report.inches = {rule->inches};
    if (report.exterior.value_or(QString()).isEmpty())
        report.exterior = rule->exterior;
    return report;
}

} // namespace tagsmith::report
