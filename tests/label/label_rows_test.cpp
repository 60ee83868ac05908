#include "label/label_rows.h"

#include "support/sample_reports.h"

#include <gtest/gtest.h>

using tagsmith::label::lines;
using tagsmith::report::Report;

namespace {
Report completeReport() {
    return tagsmith::test::fixtureReport(QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport"));
}
} // namespace

TEST(LabelRows, CompleteReportGivesFiveCompactRows) {
    EXPECT_EQ(lines(completeReport()),
              (QStringList{QStringLiteral("23年   16寸"), QStringLiteral("M3PRO  12+18核"),
                           QStringLiteral("macbook pro  18G/512G"), QStringLiteral("序列号：K7Q2XW9FJ4"),
                           QStringLiteral("A2991   电池94")}));
}

TEST(LabelRows, EveryMissingValueShowsItsFallbackWord) {
    Report report;
    report.serial = QStringLiteral("SN0001");
    report.name = QStringLiteral("MacBook Pro");
    report.years = {QStringLiteral("2019"), QStringLiteral("2020")};
    report.inches = {QStringLiteral("13")};
    EXPECT_EQ(lines(report), (QStringList{QStringLiteral("年份待填   13寸"), QStringLiteral("芯片未读取  ?+?核"),
                                          QStringLiteral("macbook pro  内存未读取/硬盘待填"),
                                          QStringLiteral("序列号：SN0001"), QStringLiteral("型号待填   电池未读取")}));
    report.years = {QStringLiteral("2019")};
    report.inches.clear();
    EXPECT_EQ(lines(report).front(), QStringLiteral("19年   尺寸待填"));
}

TEST(LabelRows, ChipMemoryAndBatteryTextsAreCompacted) {
    Report report = completeReport();
    report.memory = QStringLiteral("1 TB 36 GB");
    report.batteryHealth = QStringLiteral("约87%%");
    report.exterior.reset();
    const QStringList rows = lines(report);
    EXPECT_EQ(rows[2], QStringLiteral("macbook pro  1T 36G/512G"));
    EXPECT_EQ(rows[4], QStringLiteral("型号待填   电池约87"));
    report.chip = QStringLiteral("Intel Core i7 2.6 GHz");
    EXPECT_EQ(lines(report)[1], QStringLiteral("INTELCOREI72.6GHZ  12+18核"));
}
