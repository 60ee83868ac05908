#include "collect/report_assembly.h"
#include "collect/report_collection.h"

#include "base/read_file.h"
#include "report/a_rules.h"
#include "report/validation.h"
#include "support/fixtures.h"
#include "support/paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <thread>

using namespace tagsmith::collect;
using tagsmith::Error;

namespace {

class FixedHardware final : public HardwareSource {
public:
    HardwareSnapshot snapshot() const override {
        return {4, QStringLiteral("Intel(R) Core(TM) i5-1038NG7 CPU @ 2.00GHz"), {}};
    }
};

// The shipped A-number rules for one test, as the entry point loads them.
class ShippedRules {
public:
    ShippedRules() : m_previous(tagsmith::report::aRules()) {
        tagsmith::report::setARules(
            tagsmith::report::loadARules(tagsmith::test::sourcePath(QStringLiteral("resources/a-models.json"))));
    }
    ~ShippedRules() { tagsmith::report::setARules(m_previous); }

private:
    QList<tagsmith::report::AModelRule> m_previous;
};

// Stands in for a system tool: checks its arguments and environment, then runs body.
QString writeTool(const QTemporaryDir& folder, const QString& name, const QString& arguments, const QString& body) {
    return tagsmith::test::writeExecutable(
        folder.filePath(name),
        QStringLiteral("#!/bin/sh\n[ \"$*\" = \"%1\" ] || exit 3\n%2\n").arg(arguments, body).toUtf8());
}

CollectionSetup setupIn(const QTemporaryDir& folder, const QString& profilerBody) {
    CollectionSetup setup;
    setup.systemProfiler = writeTool(
        folder, QStringLiteral("system_profiler"),
        QStringLiteral("SPHardwareDataType SPDisplaysDataType SPPowerDataType SPNVMeDataType SPSerialATADataType "
                       "-json -timeout 60"),
        QStringLiteral("[ \"$LC_ALL\" = C ] || exit 4\n") + profilerBody);
    setup.diskutil =
        writeTool(folder, QStringLiteral("diskutil"), QStringLiteral("list -plist internal physical"),
                  QStringLiteral("exec cat '%1'")
                      .arg(tagsmith::test::fixturePath(QStringLiteral("diskutil/one-disk-500.1GB.plist"))));
    setup.modelTable = tagsmith::test::sourcePath(QStringLiteral("resources/models.json"));
    setup.outputFolder = folder.filePath(QStringLiteral("检测结果"));
    setup.limits = {std::chrono::milliseconds(500), 1 << 20};
    return setup;
}

QString catFixture(const QString& relative) {
    return QStringLiteral("exec cat '%1'").arg(tagsmith::test::fixturePath(relative));
}

} // namespace

TEST(ReportCollection, WritesTheAssembledReportIntoTheResultsFolderFromAWorkerThread) {
    const ShippedRules rules;
    QTemporaryDir folder;
    const CollectionSetup setup = setupIn(folder, catFixture(QStringLiteral("system_profiler/MacBookPro16,2.json")));
    std::optional<tagsmith::Result<CollectedReport>> outcome;
    std::thread([&] { outcome = collectReport(setup, FixedHardware()); }).join();
    ASSERT_TRUE(*outcome) << outcome->error().description.toStdString();
    const QString moment = outcome->value().encoded.report.collectedAt;
    EXPECT_EQ(outcome->value().filePath, setup.outputFolder + QStringLiteral("/C02DK3T7ML7J_") +
                                             QString(moment).replace(u':', u'-') + QStringLiteral(".macreport"));
    const QByteArray saved = tagsmith::base::readFileUpTo(outcome->value().filePath, 1 << 20).value();
    EXPECT_EQ(saved, outcome->value().encoded.bytes);
    EXPECT_EQ(tagsmith::report::validated(saved).value(), outcome->value().encoded.report);
    const QByteArray expected = tagsmith::test::fixtureBytes(QStringLiteral("assembled/MacBookPro16,2.json"));
    EXPECT_EQ(QString::fromUtf8(saved).replace(moment, QStringLiteral("1970-01-01T00:00:00Z")) + u'\n',
              QString::fromUtf8(expected))
        << "the pipeline and the assemble verb agree";
}

TEST(ReportCollection, EachFailureIsReportedAndNothingIsWritten) {
    const Error noReport{QStringLiteral("采集"), 2, QStringLiteral("系统没有返回有效报告，请重试。")};
    const std::pair<QString, Error> cases[] = {
        {QStringLiteral("exit 1"), noReport},
        {QStringLiteral("exec sleep 30"), noReport},
        {QStringLiteral("exec yes"), noReport},
        {QStringLiteral("echo 'Hardware:'"),
         {QStringLiteral("JSON"), 1, QStringLiteral("数据不是有效的 JSON（第 0 字节附近）。")}},
        {catFixture(QStringLiteral("system_profiler/iMac20,1.json")),
         {QStringLiteral("采集"), 1, QStringLiteral("没有读到 MacBook 的整机序列号与机型，未生成报告。")}},
    };
    for (const auto& [body, expected] : cases) {
        QTemporaryDir folder;
        const CollectionSetup setup = setupIn(folder, body);
        EXPECT_EQ(collectReport(setup, FixedHardware()).error(), expected) << body.toStdString();
        EXPECT_FALSE(QDir(setup.outputFolder).exists()) << body.toStdString();
    }
    QTemporaryDir folder;
    CollectionSetup setup = setupIn(folder, catFixture(QStringLiteral("system_profiler/MacBookPro16,2.json")));
    setup.modelTable = folder.filePath(QStringLiteral("missing/models.json"));
    EXPECT_EQ(collectReport(setup, FixedHardware()).error().domain, QStringLiteral("文件"));
    setup.systemProfiler = folder.filePath(QStringLiteral("no-such-tool"));
    EXPECT_EQ(collectReport(setup, FixedHardware()).error(), noReport);
    EXPECT_FALSE(QDir(setup.outputFolder).exists());
}

TEST(ReportCollection, RemoteManagementIsAskedOfTheProfilesToolInTheCLocale) {
    QTemporaryDir folder;
    CollectionSetup setup = setupIn(folder, catFixture(QStringLiteral("system_profiler/Mac16,5.json")));
    setup.profiles =
        writeTool(folder, QStringLiteral("profiles"), QStringLiteral("status -type enrollment"),
                  QStringLiteral("[ \"$LC_ALL\" = C ] || exit 4\n") + catFixture(QStringLiteral("profiles/dep.txt")));
    const auto collected = collectReport(setup, FixedHardware());
    ASSERT_TRUE(collected) << collected.error().description.toStdString();
    EXPECT_EQ(collected->encoded.report.remoteManagement, QStringLiteral("dep"));
    EXPECT_TRUE(collected->encoded.bytes.contains(R"("activationLock" : "enabled")"));
    setup.profiles = folder.filePath(QStringLiteral("no-such-tool"));
    EXPECT_EQ(collectReport(setup, FixedHardware()).value().encoded.report.remoteManagement, std::nullopt);
}

TEST(ReportCollection, FileNamesStayInTheResultsFolderBesideTheBundle) {
    tagsmith::base::Bundle bundle;
    bundle.path = QStringLiteral("/tmp/TagsmithRuntime-1/Tagsmith Collector.app");
    const CollectionSetup setup = CollectionSetup::forBundle(bundle);
    EXPECT_EQ(setup.modelTable, bundle.path + QStringLiteral("/Contents/Resources/models.json"));
    EXPECT_EQ(setup.outputFolder, QStringLiteral("/tmp/TagsmithRuntime-1/检测结果"));
    tagsmith::report::Report report;
    report.collectedAt = QStringLiteral("2025-03-01T09:15:00Z");
    report.serial = QStringLiteral("C02DK3T7ML7J");
    EXPECT_EQ(reportPathIn(setup.outputFolder, report).value(),
              QStringLiteral("/tmp/TagsmithRuntime-1/检测结果/C02DK3T7ML7J_2025-03-01T09-15-00Z.macreport"));
    for (const QString& serial : {QStringLiteral("../../etc/cron.d/x"), QStringLiteral("C02\0x"), QString(250, u'A')}) {
        report.serial = serial;
        EXPECT_EQ(reportPathIn(setup.outputFolder, report).error(),
                  (Error{QStringLiteral("采集"), 3, QStringLiteral("报告文件名无效，未保存。")}));
    }
}
