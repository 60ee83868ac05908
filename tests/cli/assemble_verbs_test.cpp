#include "support/cli.h"
#include "support/fixtures.h"

#include "base/atomic_file.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

using tagsmith::test::fixturePath;
using tagsmith::test::runCli;

namespace {

tagsmith::test::CliRun assemble(const QString& machine, const char* disks = nullptr) {
    QStringList arguments{QStringLiteral("assemble"), QStringLiteral("--snapshot"),
                          fixturePath(QStringLiteral("snapshots/%1.json").arg(machine)), QStringLiteral("--profile"),
                          fixturePath(QStringLiteral("system_profiler/%1.json").arg(machine))};
    if (disks)
        arguments << QStringLiteral("--diskutil") << fixturePath(QStringLiteral("diskutil/%1.plist").arg(disks));
    return runCli(arguments);
}

} // namespace

TEST(AssembleVerbs, TurnsEachSavedSystemReportIntoItsExpectedReport) {
    const std::pair<const char*, const char*> cases[] = {
        {"MacBookPro18,3", "one-disk-1000.6GB"},
        {"MacBookPro16,2", "one-disk-500.1GB"},
        {"MacBookPro15,3-with-egpu", nullptr},
        {"MacBookAir10,1-no-maximum-capacity", "one-disk-250GB"},
    };
    static const QRegularExpression collectedAt(
        QStringLiteral(R"re("collectedAt" : "(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")re"));
    for (const auto& [machine, disks] : cases) {
        const auto run = assemble(QString::fromLatin1(machine), disks);
        EXPECT_EQ(run.exitCode, 0) << machine << run.standardError.toStdString();
        QString printed = QString::fromUtf8(run.standardOutput);
        const auto moment = collectedAt.match(printed);
        ASSERT_TRUE(moment.hasMatch()) << machine;
        printed.replace(moment.captured(1), QStringLiteral("1970-01-01T00:00:00Z"));
        EXPECT_EQ(printed, tagsmith::test::fixtureText(QStringLiteral("assembled/%1.json").arg(machine))) << machine;
    }
}

// A profile describes another Mac: this machine's processor and battery must
// not slip into its report unless asked for.
TEST(AssembleVerbs, LeavesTheSnapshotOutWithoutSnapshotOrLiveSnapshot) {
    QTemporaryDir folder;
    const QString empty = folder.filePath(QStringLiteral("empty.json"));
    ASSERT_TRUE(tagsmith::base::writeFileAtomically(empty, "{}"));
    const QStringList profile{QStringLiteral("assemble"), QStringLiteral("--profile"),
                              fixturePath(QStringLiteral("system_profiler/MacBookPro16,2.json"))};
    const auto withoutSnapshot = runCli(profile);
    const auto emptySnapshot = runCli(profile + QStringList{QStringLiteral("--snapshot"), empty});
    static const QRegularExpression collectedAt(QStringLiteral(R"("collectedAt" : "[^"]*")"));
    ASSERT_EQ(withoutSnapshot.exitCode, 0) << withoutSnapshot.standardError.toStdString();
    EXPECT_EQ(QString::fromUtf8(withoutSnapshot.standardOutput).remove(collectedAt),
              QString::fromUtf8(emptySnapshot.standardOutput).remove(collectedAt));
}
