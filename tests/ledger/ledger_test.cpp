#include "ledger/ledger.h"

#include "base/atomic_file.h"
#include "base/read_file.h"
#include "support/generated_reports.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <thread>

using namespace tagsmith;
using ledger::Ledger;
using ledger::Selection;

namespace {

struct DataFolder {
    QTemporaryDir dir;
    QString reports = Ledger::reportsFolderIn(dir.path());
    QString ledgerPath = Ledger::pathIn(dir.path());

    Ledger open() const {
        Result<Ledger> opened = Ledger::open(ledgerPath);
        EXPECT_TRUE(opened.has_value()) << (opened ? "" : opened.error().description.toStdString());
        return std::move(opened).value();
    }
    Ledger rebuilt(int expectedRows) const {
        Ledger ledger = open();
        const auto count = ledger.rebuild(reports);
        EXPECT_TRUE(count.has_value());
        EXPECT_EQ(count.has_value() ? count->rows : -1, expectedRows);
        return ledger;
    }
};

QStringList serials(const QList<ledger::IntakeRecord>& records) {
    QStringList found;
    for (const auto& record : records)
        found.append(record.serial);
    return found;
}

// The serials of the generated reports of these indices, in this order.
QStringList generated(std::initializer_list<int> indices) {
    QStringList found;
    for (const int index : indices)
        found.append(QStringLiteral("GEN%1").arg(index, 6, 10, QChar(u'0')));
    return found;
}

Selection matching(const QString& text) {
    return {.text = text, .since = {}, .after = {}, .limit = -1};
}

} // namespace

TEST(Ledger, RebuildIndexesValidReportsSkipsInvalidOnesAndNeverChangesTheFolder) {
    DataFolder data;
    test::writeGeneratedReports(data.reports, 12);
    const QString edited = QDir(data.reports).filePath(QStringLiteral("GEN999999_edited.macreport"));
    ASSERT_TRUE(base::writeFileAtomically(edited, "{\"serial\": \"GEN999999\""));
    ASSERT_TRUE(base::writeFileAtomically(QDir(data.reports).filePath(QStringLiteral("notes.txt")), "x"));

    Ledger ledger = data.open();
    EXPECT_TRUE(ledger.needsRebuild());
    const auto count = ledger.rebuild(data.reports);
    ASSERT_TRUE(count.has_value());
    EXPECT_EQ(count->rows, 12);
    EXPECT_EQ(count->invalid, 1);
    EXPECT_FALSE(ledger.needsRebuild());
    EXPECT_FALSE(Ledger::open(data.ledgerPath).value().needsRebuild());
    EXPECT_EQ(QDir(data.reports).entryList(QDir::Files).size(), 14);
    EXPECT_EQ(base::readFileUpTo(edited, 100).value(), "{\"serial\": \"GEN999999\"");

    const auto all = ledger.select({});
    ASSERT_EQ(all->size(), 12);
    EXPECT_EQ(all->front().serial, QStringLiteral("GEN000011")) << "newest first";
    const ledger::IntakeRecord& intel = all->at(1);
    EXPECT_EQ(intel.name, QStringLiteral("MacBook Pro \"16\", 英特尔"));
    EXPECT_EQ(intel.years, QStringLiteral("2019"));
    EXPECT_EQ(intel.cycles, 10);
    EXPECT_EQ(intel.sha256.size(), 64);
    EXPECT_FALSE(intel.source.has_value()) << "the folder does not tell how a report came";
}

TEST(Ledger, FindsBySerialFragmentModelOrNameInAnyCase) {
    DataFolder data;
    test::writeGeneratedReports(data.reports, 30);
    Ledger ledger = data.rebuilt(30);
    const std::pair<QString, QStringList> cases[] = {
        {QStringLiteral("n00001"), generated({19, 18, 17, 16, 15, 14, 13, 12, 11, 10})},
        {QStringLiteral("27"), generated({27})}, // shorter than the index's runs
        {QStringLiteral("英特尔"), generated({25, 20, 15, 10, 5, 0})},
        {QStringLiteral("pro16,"), generated({25, 20, 15, 10, 5, 0})},
        {QStringLiteral("%"), {}},
        {QStringLiteral("\"GEN"), {}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(serials(ledger.select(matching(text)).value()), expected) << text.toStdString();
}

TEST(Ledger, PagesAndBoundsByReceiptAndKeepsReceiptAndLabelAcrossRebuilds) {
    DataFolder data;
    test::writeGeneratedReports(data.reports, 5);
    Ledger ledger = data.rebuilt(5);
    const auto first = ledger.select({.text = {}, .since = {}, .after = {}, .limit = 2}).value();
    const auto second = ledger.select({.text = {}, .since = {}, .after = first.back(), .limit = 2}).value();
    ASSERT_EQ(first.size(), 2);
    ASSERT_EQ(second.size(), 2);
    EXPECT_EQ(serials(first + second), generated({4, 3, 2, 1}));

    ledger::IntakeRecord cabled = first.front();
    cabled.receivedAt = QStringLiteral("2030-01-01T00:00:00Z");
    cabled.source = ledger::sourceText(ledger::IntakeSource::relay);
    ASSERT_TRUE(ledger.record(cabled));
    ASSERT_TRUE(ledger.markLabelSubmitted(cabled.fileName, QStringLiteral("2030-01-01T00:00:05Z")));
    QFile::remove(QDir(data.reports).filePath(second.front().fileName));
    ledger = data.rebuilt(4);

    const auto recent =
        ledger.select({.text = {}, .since = QStringLiteral("2029-12-31T00:00:00Z"), .after = {}, .limit = -1}).value();
    ASSERT_EQ(recent.size(), 1);
    EXPECT_EQ(recent.front().source, QStringLiteral("relay"));
    EXPECT_EQ(recent.front().labelSubmittedAt, QStringLiteral("2030-01-01T00:00:05Z"));
    EXPECT_FALSE(serials(ledger.select({}).value()).contains(second.front().serial)) << "its file is gone";
}

TEST(Ledger, DamagedFileIsMovedAsideAndAnOlderSchemaReplaced) {
    struct Case {
        const char* what;
        std::function<void(const QString& path)> spoil;
        bool movedAside;
    };
    const Case cases[] = {
        {"garbage", [](const QString& path) { (void)base::writeFileAtomically(path, QByteArray(70000, 'x')); }, true},
        {"truncated",
         [](const QString& path) {
             QFile file(path);
             ASSERT_TRUE(file.resize(file.size() / 2));
         },
         true},
        {"older schema",
         [](const QString& path) {
             auto db = base::SqliteConnection::open(path).value();
             ASSERT_TRUE(db.exec("PRAGMA user_version = 0"));
         },
         false},
    };
    for (const Case& c : cases) {
        DataFolder data;
        test::writeGeneratedReports(data.reports, 300);
        {
            Ledger ledger = data.rebuilt(300);
            auto db = base::SqliteConnection::open(data.ledgerPath).value();
            ASSERT_TRUE(db.exec("PRAGMA wal_checkpoint(TRUNCATE)")) << c.what;
        }
        c.spoil(data.ledgerPath);
        const QByteArray spoiled = base::readFileUpTo(data.ledgerPath, 1 << 24).value();

        Ledger ledger = data.open();
        EXPECT_TRUE(ledger.needsRebuild()) << c.what;
        const QStringList aside = QDir(data.dir.path()).entryList({QStringLiteral("ledger.sqlite.damaged-*")});
        EXPECT_EQ(aside.size(), c.movedAside ? 1 : 0) << c.what;
        if (c.movedAside && !aside.isEmpty()) {
            EXPECT_EQ(base::readFileUpTo(QDir(data.dir.path()).filePath(aside.front()), 1 << 24).value(), spoiled);
        }
        EXPECT_EQ(ledger.rebuild(data.reports)->rows, 300) << c.what;
        EXPECT_EQ(ledger.count().value(), 300) << c.what;
    }
}

TEST(Ledger, TwoConnectionsWritingAtOnceKeepEveryRowAndASoundFile) {
    DataFolder data;
    test::writeGeneratedReports(data.reports, 1500);
    test::writeGeneratedReports(data.reports, 400, 2000);
    test::writeGeneratedReports(data.reports, 400, 3000);
    (void)data.open();
    const auto writer = [&data](int first) {
        Ledger ledger = data.open();
        for (int index = first; index < first + 400; ++index) {
            const report::Report report = test::generatedReport(index);
            ASSERT_TRUE(
                ledger.record(ledger::intakeRecord(report, report.serial.toUtf8(), report::reportFileName(report),
                                                   QDateTime::currentDateTimeUtc(), ledger::IntakeSource::cableV2)));
        }
    };
    std::thread rebuilding([&data] { EXPECT_EQ(data.open().rebuild(data.reports)->rows, 2300); });
    std::thread one(writer, 2000);
    std::thread other(writer, 3000);
    rebuilding.join();
    one.join();
    other.join();

    Ledger ledger = data.open();
    EXPECT_FALSE(ledger.needsRebuild()) << "a sound file, not moved aside";
    EXPECT_EQ(ledger.count().value(), 2300);
    EXPECT_EQ(ledger.select(matching(QStringLiteral("GEN0032")))->size(), 100);
}
