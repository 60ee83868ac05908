#include "report/model_identification.h"

#include "support/paths.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace tagsmith::report;
using tagsmith::test::sourcePath;

namespace {

const QList<AModelRule>& shippedRules() {
    static const QList<AModelRule> rules = loadARules(sourcePath(QStringLiteral("resources/a-models.json")));
    return rules;
}

Report machine(const char* name, const char* model, const char* chip, QStringList years, QStringList inches) {
    Report report;
    report.serial = QStringLiteral("C02CQ4XYML7H");
    report.name = QString::fromUtf8(name);
    report.model = QString::fromUtf8(model);
    report.chip = QString::fromUtf8(chip);
    report.years = std::move(years);
    report.inches = std::move(inches);
    return report;
}

} // namespace

TEST(ModelIdentification, ShippedRulesPickTheOneFittingANumber) {
    const struct {
        Report report;
        QString exterior; // empty: no single rule fits
    } cases[] = {
        {machine("MacBook Pro", "MacBookPro16,2", "Intel Core i5-1038NG7 CPU @ 2.00GHz", {}, {}), "A2251"},
        {machine("MacBook Pro", "MacBookPro16,3", "Intel Core i5-8257U CPU @ 1.40GHz", {}, {}), "A2289"},
        {machine("MacBook Air", "MacBookAir9,1", "Intel Core i3-1000NG4 CPU @ 1.10GHz", {}, {}), {}},
        {machine("MacBook Pro", "Mac16,6", "Apple M4 Max", {"2024"}, {}), {}},
        {machine("MacBook Pro", "Mac16,6", "Apple M4 Max", {"2024"}, {"14.2"}), "A3185"},
        {machine("MacBook Pro", "Mac16,6", "Apple M4 Max", {"2024"}, {"abc", " 14", "nan", "infinity", "0x0e"}), {}},
        {machine("MacBook Air", "MacBookAir10,1", "Apple M1", {}, {}), "A2337"},
        {machine("MacBook Air", "MacBookAir10,1", "Apple M1", {}, {"1e400"}), "A2337"},
        {machine("MacBook Air", "MacBookAir10,1", "Apple M1", {}, {"15.3"}), {}},
        {machine("MacBook Pro", "Mac15,7", "Apple M3 Pro", {"2023"}, {"16"}), "A2991"},
        {machine("MacBook Pro", "MacBookPro15,2", "Intel Core i7-8559U CPU @ 2.70GHz", {"2018", "2019"}, {"13"}),
         "A1989"},
        {machine("MacBook Neo", "Mac17,5", "Apple A18 Pro", {"2026"}, {"13"}), {}},
    };
    for (const auto& c : cases) {
        const auto rule = matchingARule(c.report, shippedRules());
        EXPECT_EQ(rule ? rule->exterior : QString(), c.exterior) << c.report.model.toStdString();
    }
}

TEST(ModelIdentification, EnrichmentFillsOnlyWhatIsMissing) {
    Report air = machine("MacBook Air", "MacBookAir10,1", "Apple M1", {}, {});
    const Report filled = enrichA(air, shippedRules());
    EXPECT_EQ(filled.years + filled.inches, (QStringList{QStringLiteral("2020"), QStringLiteral("13")}));
    EXPECT_EQ(filled.exterior, QStringLiteral("A2337"));
    EXPECT_EQ(enrichA(air, {}), air);

    air.exterior = QStringLiteral("A2179");
    air.years = {QStringLiteral("2020"), QStringLiteral("2021")};
    air.inches = {QStringLiteral("13.3")};
    EXPECT_EQ(enrichA(air, shippedRules()), air);
    air.exterior = QString();
    EXPECT_EQ(enrichA(air, shippedRules()).exterior, QStringLiteral("A2337"));
}

TEST(ModelIdentification, ShippedRulesAreNormalisedAndEachFullyDescribedMachineFitsOnlyItsOwnRule) {
    ASSERT_EQ(shippedRules().size(), 31);
    static const QRegularExpression aNumber(QRegularExpression::anchoredPattern(QStringLiteral("A[0-9]{4}")));
    for (const AModelRule& rule : shippedRules()) {
        EXPECT_TRUE(rule.series == QStringLiteral("Air") || rule.series == QStringLiteral("Pro"));
        EXPECT_EQ(QString::number(rule.inches.toInt()), rule.inches);
        EXPECT_TRUE(aNumber.match(rule.exterior).hasMatch()) << rule.exterior.toStdString();
        for (const QString& chip : rule.chips) {
            EXPECT_EQ(normalisedChip(chip), chip);
            for (const QString& model : rule.modelIDs.value_or(QStringList{QStringLiteral("Mac99,1")})) {
                Report report = machine("", "", "", {rule.year}, {rule.inches});
                report.name = QStringLiteral("MacBook ") + rule.series;
                report.model = model;
                report.chip = chip;
                EXPECT_EQ(matchingARule(report, shippedRules()), rule) << rule.exterior.toStdString();
            }
        }
    }
}

TEST(ModelIdentification, ShippedModelTableCoversEveryIdentifierAndRuleIdentifier) {
    const ModelTable table = loadModelTable(sourcePath(QStringLiteral("resources/models.json"))).value();
    ASSERT_FALSE(table.isEmpty());
    for (const AModelRule& rule : shippedRules()) {
        for (const QString& model : rule.modelIDs.value_or(QStringList()))
            EXPECT_TRUE(table.contains(model)) << model.toStdString();
    }
}
