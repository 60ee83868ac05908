#include "label/label_rows.h"

#include <gtest/gtest.h>

using tagsmith::label::lines;
using tagsmith::report::Report;

namespace {
Report completeReport() {
    Report report;
    report.serial = QStringLiteral("C02XK0ABJGH5");
    report.model = QStringLiteral("Mac14,2");
    report.name = QStringLiteral("MacBook Air");
    report.years = {QStringLiteral("2022")};
    report.inches = {QStringLiteral("13.6")};
    report.chip = QStringLiteral("Apple M2");
    report.cpu = 8;
    report.gpu = 10;
    report.memory = QStringLiteral("16 GB");
    report.disk = QStringLiteral("512G");
    report.exterior = QStringLiteral("A2681");
    report.batteryHealth = QStringLiteral("87%");
    return report;
}
} // namespace

TEST(LabelRows, CompleteReportGivesFiveCompactRows) {
    EXPECT_EQ(lines(completeReport()),
              (QStringList{QStringLiteral("22年   13.6寸"), QStringLiteral("M2  8+10核"),
                           QStringLiteral("macbook air  16G/512G"), QStringLiteral("序列号：C02XK0ABJGH5"),
                           QStringLiteral("A2681   电池87")}));
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
    report.chip = QStringLiteral("Apple M3 Pro");
    report.cpu = 11;
    report.gpu = 14;
    report.memory = QStringLiteral("1 TB 36 GB");
    report.batteryHealth = QStringLiteral("约87%%");
    report.exterior.reset();
    const QStringList rows = lines(report);
    EXPECT_EQ(rows[1], QStringLiteral("M3PRO  11+14核"));
    EXPECT_EQ(rows[2], QStringLiteral("macbook air  1T 36G/512G"));
    EXPECT_EQ(rows[4], QStringLiteral("型号待填   电池约87"));
    report.chip = QStringLiteral("Intel Core i7 2.6 GHz");
    EXPECT_EQ(lines(report)[1], QStringLiteral("INTELCOREI72.6GHZ  11+14核"));
}
