#include "app/self_test.h"

#include "report/model_identification.h"
#include "report/report_file.h"
#include "report/report_json.h"

#include <QSet>

#include <functional>

namespace tagsmith::app {

namespace {

using report::Report;

constexpr qsizetype kShippedRuleCount = 31;

// The given report with the identity and sizes of one case; everything else
// (serial, battery, disk) stays as read from the file.
Report variant(Report report, const char* name, const char* model, const char* chip, QStringList years,
               QStringList inches) {
    report.name = QString::fromUtf8(name);
    report.model = QString::fromUtf8(model);
    report.chip = QString::fromUtf8(chip);
    report.years = std::move(years);
    report.inches = std::move(inches);
    report.exterior.reset();
    return report;
}

bool intelAmbiguityGivesNoMatch(const Report& given) {
    const Report intelAir =
        variant(given, "MacBook Air", "MacBookAir9,1", "Intel Core i5-1030NG7 CPU @ 1.10GHz", {}, {});
    return !report::matchingARule(intelAir) && report::enrichA(intelAir) == intelAir;
}

bool m4MaxNeedsItsSize(const Report& given) {
    const Report withoutSize = variant(given, "MacBook Pro", "Mac16,6", "Apple M4 Max", {QStringLiteral("2024")}, {});
    Report withSize = withoutSize;
    withSize.inches = {QStringLiteral("14.2")};
    const auto rule = report::matchingARule(withSize);
    return !report::matchingARule(withoutSize) && rule && rule->inches == QStringLiteral("14") &&
           rule->chips.contains(QStringLiteral("M4MAX"));
}

Report m1AirWithoutMetadata(const Report& given) {
    return variant(given, "MacBook Air", "MacBookAir10,1", "Apple M1", {}, {});
}

bool unknownSizeAddsNoCondition(const Report& given) {
    Report unknownSize = m1AirWithoutMetadata(given);
    unknownSize.inches = {QStringLiteral("未知")};
    const auto rule = report::matchingARule(unknownSize);
    return rule && rule == report::matchingARule(m1AirWithoutMetadata(given));
}

bool airMissingMetadataIsFilled(const Report& given) {
    const Report enriched = report::enrichA(m1AirWithoutMetadata(given));
    const auto rule = report::matchingARule(m1AirWithoutMetadata(given));
    return rule && !rule->exterior.isEmpty() && enriched.years == QStringList{rule->year} &&
           enriched.inches == QStringList{rule->inches} && enriched.exterior == rule->exterior;
}

bool manualExteriorIsKept(const Report& given) {
    Report typed = m1AirWithoutMetadata(given);
    typed.exterior = QStringLiteral("A9999");
    Report blank = typed;
    blank.exterior = QString();
    return report::enrichA(typed).exterior == QStringLiteral("A9999") && report::enrichA(blank).exterior != QString();
}

qsizetype chipVariantCount(const QList<report::AModelRule>& rules) {
    QSet<QString> chips;
    for (const report::AModelRule& rule : rules)
        chips.unite(QSet<QString>(rule.chips.begin(), rule.chips.end()));
    return chips.size();
}

Error failure(const QString& what) {
    return selfTestFailure(QStringLiteral("A 型号规则自检失败：%1。").arg(what));
}

} // namespace

Result<QString> runAModelTest(const QStringList& arguments) {
    const Result<QByteArray> bytes = report::readReportFile(arguments.at(2));
    if (!bytes)
        return bytes.error();
    const Result<Report> given = report::decodeReport(*bytes);
    if (!given)
        return given.error();
    if (report::aRules().size() != kShippedRuleCount)
        return failure(
            QStringLiteral("载入 %1 条规则，应为 %2 条").arg(report::aRules().size()).arg(kShippedRuleCount));
    const QList<std::pair<const char*, std::function<bool(const Report&)>>> checks{
        {"Intel 机型有歧义时不应匹配", intelAmbiguityGivesNoMatch},
        {"M4 Max 须按尺寸区分", m4MaxNeedsItsSize},
        {"无法识别的尺寸不应增加条件", unknownSizeAddsNoCondition},
        {"型号表缺失的 Air 应补全年份与尺寸", airMissingMetadataIsFilled},
        {"已填写的外观编号应保留", manualExteriorIsKept},
    };
    for (const auto& [name, passes] : checks) {
        if (!passes(*given))
            return failure(QString::fromUtf8(name));
    }
    return QStringLiteral("PASS: %1 user rules / %2 chip variants; Intel ambiguity, M4 Max size, unknown size, Air "
                          "missing metadata, manual override")
        .arg(report::aRules().size())
        .arg(chipVariantCount(report::aRules()));
}

} // namespace tagsmith::app
