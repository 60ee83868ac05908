#include "ledger/ledger.h"

namespace tagsmith::ledger {

namespace {

// The search index holds runs of three characters, so shorter fragments are
// looked for in the rows themselves.
constexpr qsizetype kIndexedFragment = 3;

QByteArray selectSql(const Selection& selection) {
    QByteArray sql = "SELECT id, fileName, sha256, serial, model, name, years, inches, chip, memory, disk, exterior, "
                     "batteryHealth, cycles, activationLock, remoteManagement, storageHealth, collectedAt, "
                     "receivedAt, source, labelSubmittedAt FROM intake WHERE 1";
    if (!selection.since.isEmpty())
        sql += " AND receivedAt >= ?1";
    if (selection.text.toUcs4().size() >= kIndexedFragment)
        sql += " AND id IN (SELECT rowid FROM intake_search WHERE intake_search MATCH ?2)";
    else if (!selection.text.isEmpty())
        sql += " AND (serial LIKE ?2 ESCAPE '\\' OR model LIKE ?2 ESCAPE '\\' OR name LIKE ?2 ESCAPE '\\')";
    if (selection.after)
        sql += " AND (receivedAt, id) < (?3, ?4)";
    sql += " ORDER BY receivedAt DESC, id DESC";
    if (selection.limit >= 0)
        sql += " LIMIT ?5";
    return sql;
}

QString searchPattern(const QString& text) {
    if (text.toUcs4().size() >= kIndexedFragment)
        return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

void bindSelection(base::SqliteStatement& statement, const Selection& selection) {
    if (!selection.since.isEmpty())
        statement.bind(1, selection.since);
    if (!selection.text.isEmpty())
        statement.bind(2, searchPattern(selection.text));
    if (selection.after) {
        statement.bind(3, selection.after->receivedAt);
        statement.bind(4, std::optional<qint64>(selection.after->rowId));
    }
    if (selection.limit >= 0)
        statement.bind(5, std::optional<qint64>(selection.limit));
}

IntakeRecord readRecord(const base::SqliteStatement& row) {
    IntakeRecord record;
    record.rowId = row.number(0);
    int column = 0;
    for (QString* text :
         {&record.fileName, &record.sha256, &record.serial, &record.model, &record.name, &record.years, &record.inches})
        *text = row.text(++column);
    for (auto* text : {&record.chip, &record.memory, &record.disk, &record.exterior, &record.batteryHealth})
        *text = row.optionalText(++column);
    record.cycles = row.optionalNumber(++column);
    for (auto* text : {&record.activationLock, &record.remoteManagement, &record.storageHealth})
        *text = row.optionalText(++column);
    record.collectedAt = row.text(++column);
    record.receivedAt = row.text(++column);
    record.source = row.optionalText(++column);
    record.labelSubmittedAt = row.optionalText(++column);
    return record;
}

} // namespace

Result<void> Ledger::visit(const Selection& selection, const std::function<void(const IntakeRecord&)>& visitor) {
    auto statement = m_db.prepare(selectSql(selection).constData());
    if (!statement)
        return failure(QStringLiteral("读取"));
    bindSelection(*statement, selection);
    while (statement->next())
        visitor(readRecord(*statement));
    return statement->done() ? Result<void>() : failure(QStringLiteral("读取"));
}

Result<QList<IntakeRecord>> Ledger::select(const Selection& selection) {
    QList<IntakeRecord> records;
    const Result<void> visited = visit(selection, [&records](const IntakeRecord& record) { records.append(record); });
    if (!visited)
        return visited.error();
    return records;
}

} // namespace tagsmith::ledger
