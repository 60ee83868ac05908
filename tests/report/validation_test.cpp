#include "report/validation.h"

#include "report/report_json.h"
#include "support/sample_reports.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tagsmith::report;
using tagsmith::Result;

namespace {

const QString kInvalidField = QStringLiteral("报告格式或字段无效。");
const QString kTextInvalid = QStringLiteral("报告字段过长或包含换行。");
const QString kGraphicsInvalid = QStringLiteral("显卡字段无效。");

QString outcomeOf(const Report& report) {
    const Result<Report> checked = validated(encodeReport(report, JsonLayout::prettySorted), {});
    return checked ? QString() : checked.error().description;
}

QString repeated(const char* text, qsizetype times) {
    return QString::fromUtf8(text).repeated(times);
}

} // namespace

TEST(Validation, EachFieldRuleHoldsAtItsBoundary) {
    const struct {
        const char* what;
        std::function<void(Report&)> change;
        QString error; // empty: accepted
    } cases[] = {
        {"schema version 2", [](Report& r) { r.schemaVersion = 2; }, kInvalidField},
        {"serial of 8", [](Report& r) { r.serial = repeated("A", 8); }, {}},
        {"serial of 20", [](Report& r) { r.serial = repeated("9", 20); }, {}},
        {"serial of 7", [](Report& r) { r.serial = repeated("A", 7); }, kInvalidField},
        {"serial of 21", [](Report& r) { r.serial = repeated("A", 21); }, kInvalidField},
        {"serial with hyphen", [](Report& r) { r.serial = QStringLiteral("C02-XYZ1234"); }, kInvalidField},
        {"serial with non-ASCII letter", [](Report& r) { r.serial = QStringLiteral("C02XYZ1234É"); }, kInvalidField},
        {"serial then line feed", [](Report& r) { r.serial += u'\n'; }, kInvalidField},
        {"model MacBookAir10,1", [](Report& r) { r.model = QStringLiteral("MacBookAir10,1"); }, {}},
        {"model without comma part", [](Report& r) { r.model = QStringLiteral("MacBookPro16"); }, kInvalidField},
        {"model iMac21,1", [](Report& r) { r.model = QStringLiteral("iMac21,1"); }, kInvalidField},
        {"model lower case", [](Report& r) { r.model = QStringLiteral("macbookpro16,2"); }, kInvalidField},
        {"model then line feed", [](Report& r) { r.model += u'\n'; }, kInvalidField},
        {"name of 79 with a cluster",
         [](Report& r) { r.name = QStringLiteral("MACBOOK") + repeated("e\u0301", 72); },
         {}},
        {"name of 80", [](Report& r) { r.name = QStringLiteral("MacBook") + repeated("x", 73); }, kInvalidField},
        {"name without MacBook", [](Report& r) { r.name = QStringLiteral("iMac"); }, kInvalidField},
        {"name with line feed", [](Report& r) { r.name = QStringLiteral("MacBook Pro\nA"); }, kInvalidField},
        {"name with carriage return", [](Report& r) { r.name = QStringLiteral("MacBook\rPro"); }, kInvalidField},
        {"cpu 0", [](Report& r) { r.cpu = 0; }, kInvalidField},
        {"cpu 1024", [](Report& r) { r.cpu = 1024; }, kInvalidField},
        {"cycles -1", [](Report& r) { r.cycles = -1; }, kInvalidField},
        {"memory of 99", [](Report& r) { r.memory = repeated("8", 99); }, {}},
        {"memory of 100", [](Report& r) { r.memory = repeated("8", 100); }, kTextInvalid},
        {"year with line feed", [](Report& r) { r.years = {QStringLiteral("2020\n")}; }, kTextInvalid},
        {"98 + CR LF", [](Report& r) { r.disk = repeated("1", 98) + QStringLiteral("\r\n"); }, kTextInvalid},
        {"source with line feed", [](Report& r) { r.modelSources = {QStringLiteral("a\nb")}; }, {}},
        {"graphics of 500", [](Report& r) { r.graphics = repeated("g", 500); }, {}},
        {"graphics of 501", [](Report& r) { r.graphics = repeated("g", 501); }, kGraphicsInvalid},
        {"graphics of 1 + 15999 marks", [](Report& r) { r.graphics = u'g' + QString(15999, QChar(0x301)); }, {}},
        {"graphics of 1 + 16000 marks", [](Report& r) { r.graphics = u'g' + QString(16000, QChar(0x301)); },
         kGraphicsInvalid},
        {"graphics with tab", [](Report& r) { r.graphics = QStringLiteral("Intel\tAMD"); }, kGraphicsInvalid},
        {"graphics with Cf", [](Report& r) { r.graphics = QStringLiteral("Intel\u200bAMD"); }, kGraphicsInvalid},
        {"line break before long graphics",
         [](Report& r) { r.chip = r.chip.value() + u'\n', r.graphics = repeated("g", 501); }, kTextInvalid},
    };
    for (const auto& c : cases) {
        Report report = tagsmith::test::fullReport();
        c.change(report);
        EXPECT_EQ(outcomeOf(report), c.error) << c.what;
    }
}

TEST(Validation, SizeComesBeforeDecodingWhoseErrorsPassUnchanged) {
    const QByteArray report = encodeReport(tagsmith::test::fullReport(), JsonLayout::prettySorted);
    EXPECT_TRUE(validated(report + QByteArray(kMaxReportBytes - report.size(), ' '), {}));
    EXPECT_EQ(validated(QByteArray(kMaxReportBytes + 1, 'x'), {}).error(),
              (tagsmith::Error{kReportErrorDomain, 1, QStringLiteral("报告过大，无法导入。")}));
    const QByteArray unversioned = QByteArray(report).replace("\"schemaVersion\" : 1,", "");
    EXPECT_EQ(validated(unversioned, {}).error(), decodeReport(unversioned).error());
}

// A report names each member once; a byte order mark before it is still read.
TEST(Validation, RefusesARepeatedMemberAsMalformed) {
    const QByteArray report = encodeReport(tagsmith::test::fullReport(), JsonLayout::prettySorted);
    const tagsmith::Error malformed{kReportErrorDomain, 2, QStringLiteral("报告格式或字段无效。")};
    EXPECT_EQ(validated(QByteArray(report).replace("{", "{\"serial\" : \"C02XL0GHJGH5\",\n"), {}).error(), malformed);
    EXPECT_EQ(validated(QByteArray(report).replace("\"years\"", "\"chip\" : \"M1\",\n  \"years\""), {}).error(),
              malformed);
    EXPECT_TRUE(validated("\xEF\xBB\xBF" + report, {}));
}
