#include "ledger/csv_export.h"

#include <QDir>
#include <QSaveFile>

namespace tagsmith::ledger {

namespace {

const QStringList kHeader = {
    QStringLiteral("序列号"),   QStringLiteral("型号标识"), QStringLiteral("机型名称"), QStringLiteral("年份"),
    QStringLiteral("尺寸"),     QStringLiteral("芯片"),     QStringLiteral("内存"),     QStringLiteral("硬盘"),
    QStringLiteral("A型号"),    QStringLiteral("电池健康"), QStringLiteral("循环次数"), QStringLiteral("激活锁"),
    QStringLiteral("远程管理"), QStringLiteral("存储健康"), QStringLiteral("采集时间"), QStringLiteral("接收时间"),
    QStringLiteral("来源"),     QStringLiteral("文件名"),   QStringLiteral("SHA-256"),  QStringLiteral("标签提交时间")};

QStringList fields(const IntakeRecord& record) {
    const auto text = [](const std::optional<QString>& value) { return value.value_or(QString()); };
    return {record.serial,
            record.model,
            record.name,
            record.years,
            record.inches,
            text(record.chip),
            text(record.memory),
            text(record.disk),
            text(record.exterior),
            text(record.batteryHealth),
            record.cycles ? QString::number(*record.cycles) : QString(),
            text(record.activationLock),
            text(record.remoteManagement),
            text(record.storageHealth),
            record.collectedAt,
            record.receivedAt,
            text(record.source),
            record.fileName,
            record.sha256,
            text(record.labelSubmittedAt)};
}

QByteArray csvField(const QString& text) {
    static const QString formulaStarts = QStringLiteral("=+-@");
    const QString value = !text.isEmpty() && formulaStarts.contains(text.front()) ? u'\'' + text : text;
    QByteArray utf8 = value.toUtf8();
    if (!utf8.contains(',') && !utf8.contains('"') && !utf8.contains('\r') && !utf8.contains('\n'))
        return utf8;
    return '"' + utf8.replace("\"", "\"\"") + '"';
}

QByteArray csvLine(const QStringList& values) {
    QByteArray line;
    for (const QString& value : values) {
        if (!line.isEmpty())
            line += ',';
        line += csvField(value);
    }
    return line + "\r\n";
}

Error writeError(const QSaveFile& file) {
    return {Ledger::kErrorDomain, 4,
            QStringLiteral("无法写入 %1：%2").arg(QDir::toNativeSeparators(file.fileName()), file.errorString())};
}

} // namespace

Result<qint64> exportCsv(Ledger& ledger, const Selection& selection, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return writeError(file);
    file.write("\xEF\xBB\xBF");
    file.write(csvLine(kHeader));
    qint64 rows = 0;
    const Result<void> visited = ledger.visit(selection, [&](const IntakeRecord& record) {
        file.write(csvLine(fields(record)));
        ++rows;
    });
    if (!visited)
        return visited.error();
    if (!file.commit())
        return writeError(file);
    return rows;
}

} // namespace tagsmith::ledger
