#include "label/label_rows.h"

namespace tagsmith::label {

namespace {

template <typename Number> QString countText(const std::optional<Number>& count) {
    return count ? QString::number(*count) : QStringLiteral("?");
}

QString yearAndSize(const report::Report& report) {
    const QString year =
        report.years.size() == 1 ? report.years.front().right(2) + QStringLiteral("年") : QStringLiteral("年份待填");
    const QString size =
        report.inches.size() == 1 ? report.inches.front() + QStringLiteral("寸") : QStringLiteral("尺寸待填");
    return year + QStringLiteral("   ") + size;
}

QString chipAndCores(const report::Report& report) {
    QString chip = report.chip.value_or(QStringLiteral("芯片未读取"));
    chip.remove(QStringLiteral("Apple ")).remove(u' ');
    return chip.toUpper() + QStringLiteral("  ") + countText(report.cpu) + u'+' + countText(report.gpu) +
           QStringLiteral("核");
}

QString nameMemoryAndDisk(const report::Report& report) {
    QString memory = report.memory.value_or(QStringLiteral("内存未读取"));
    memory.replace(QStringLiteral(" GB"), QStringLiteral("G")).replace(QStringLiteral(" TB"), QStringLiteral("T"));
    return report.name.toLower() + QStringLiteral("  ") + memory + u'/' +
           report.disk.value_or(QStringLiteral("硬盘待填"));
}

QString exteriorAndBattery(const report::Report& report) {
    const QString battery = report.batteryHealth.value_or(QStringLiteral("未读取")).remove(u'%');
    return report.exterior.value_or(QStringLiteral("型号待填")) + QStringLiteral("   电池") + battery;
}

} // namespace

QStringList lines(const report::Report& report) {
    return {yearAndSize(report), chipAndCores(report), nameMemoryAndDisk(report),
            QStringLiteral("序列号：") + report.serial, exteriorAndBattery(report)};
}

} // namespace tagsmith::label
