#include "report/report_json.h"
#include "report/resale_facts.h"
#include "report/validation.h"
#include "support/sample_reports.h"

#include <gtest/gtest.h>

using namespace tagsmith::report;

namespace {

const QString kAirFixture = QStringLiteral("valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport");

// The fixture's bytes with one more member before the closing brace.
QByteArray withMember(const QByteArray& member) {
    QByteArray bytes = tagsmith::test::reportFixtureBytes(kAirFixture).trimmed();
    bytes.chop(1);
    return bytes + ",\n" + member + "}";
}

} // namespace

TEST(ResaleFacts, EachMemberIsAbsentOrOneOfItsWords) {
    const std::pair<QByteArray, const char*> cases[] = {
        {R"("activationLock": "disabled")", ""},
        {R"("remoteManagement": "dep")", ""},
        {R"("remoteManagement": "mdm")", ""},
        {R"("remoteManagement": "none")", ""},
        {R"("storageHealth": "verified")", ""},
        {R"("storageHealth": "failing")", ""},
        {R"("storageHealth": null)", ""},
        {R"("activationLock": "maybe")", "报告格式或字段无效。"},
        {R"("remoteManagement": "DEP")", "报告格式或字段无效。"},
        {R"("storageHealth": "")", "报告格式或字段无效。"},
        {R"("activationLock": true)", "字段“activationLock”应为文本，实际为布尔值。"},
        {R"("storageHealth": ["failing"])", "字段“storageHealth”应为文本，实际为数组。"},
    };
    const Report plain = validated(tagsmith::test::reportFixtureBytes(kAirFixture)).value();
    for (const auto& [member, failure] : cases) {
        const auto checked = validated(withMember(member));
        EXPECT_EQ(checked ? QString() : checked.error().description, QString::fromUtf8(failure)) << member.data();
        if (checked) {
            Report others = *checked;
            others.activationLock.reset();
            others.remoteManagement.reset();
            others.storageHealth.reset();
            EXPECT_EQ(others, plain) << "the other fields decode the same";
        }
    }
    EXPECT_EQ(validated(withMember(R"("activationLock": "maybe")")).error().code, kReportInvalidField);
}

TEST(ResaleFacts, EncodingsPlaceTheMembersByTheirKeyOrderRules) {
    Report report = tagsmith::test::fixtureReport(kAirFixture);
    report.activationLock = resale::kEnabled;
    report.remoteManagement = resale::kNone;
    report.storageHealth = resale::kFailing;
    const QByteArray anyOrder = encodeReport(report, JsonLayout::compactAnyOrder);
    EXPECT_TRUE(
        anyOrder.endsWith(R"(,"activationLock":"enabled","remoteManagement":"none","storageHealth":"failing"})"));
    const QByteArray sorted = encodeReport(report, JsonLayout::compactSorted);
    EXPECT_LT(sorted.indexOf("\"activationLock\""), sorted.indexOf("\"batteryCondition\""));
    EXPECT_LT(sorted.indexOf("\"schemaVersion\""), sorted.indexOf("\"storageHealth\""));
    for (const auto layout : {JsonLayout::prettySorted, JsonLayout::compactSorted, JsonLayout::compactAnyOrder})
        EXPECT_EQ(decodeReport(encodeReport(report, layout)).value(), report);
}
