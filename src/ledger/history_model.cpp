#include "ledger/history_model.h"

namespace tagsmith::ledger {

namespace {

enum Column { received, serial, machine, configuration, battery, label, columnCount };

QString configurationText(const IntakeRecord& record) {
    QStringList parts;
    for (const auto& part : {record.chip, record.memory, record.disk}) {
        if (part)
            parts.append(*part);
    }
    return parts.join(QStringLiteral(" · "));
}

QString machineText(const IntakeRecord& record) {
    return QStringLiteral("%1 %2 英寸 %3").arg(record.name, record.inches, record.years);
}

QString localTime(const QString& ledgerTime) {
    return QDateTime::fromString(ledgerTime, Qt::ISODate).toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

} // namespace

HistoryModel::HistoryModel(QString ledgerPath, QObject* parent)
    : QAbstractTableModel(parent), m_ledgerPath(std::move(ledgerPath)) {}

void HistoryModel::setFilter(const QString& text) {
    m_filter = text.trimmed();
    reload();
}

void HistoryModel::reload() {
    beginResetModel();
    m_rows.clear();
    m_exhausted = false;
    endResetModel();
    fetchMore({}); // the first page at once, so a search answers without waiting for the view
}

int HistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Column::columnCount;
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.size())
        return {};
    const IntakeRecord& record = m_rows.at(index.row());
    switch (index.column()) {
    case received:
        return localTime(record.receivedAt);
    case serial:
        return record.serial;
    case machine:
        return machineText(record);
    case configuration:
        return configurationText(record);
    case battery:
        return record.batteryHealth.value_or(QString());
    case label:
        return record.labelSubmittedAt ? QStringLiteral("已提交") : QString();
    default:
        return {};
    }
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const QStringList titles = {QStringLiteral("接收时间"), QStringLiteral("序列号"), QStringLiteral("机型"),
                                       QStringLiteral("配置"),     QStringLiteral("电池"),   QStringLiteral("标签")};
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= titles.size())
        return {};
    return titles.at(section);
}

bool HistoryModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !m_exhausted;
}

// A ledger not there yet (the workstation is still building it) shows no
// rows; the next reload tries again.
void HistoryModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid())
        return;
    if (!m_ledger) {
        Result<Ledger> opened = Ledger::openForReading(m_ledgerPath);
        if (opened)
            m_ledger.emplace(std::move(*opened));
    }
    const Selection page{.text = m_filter,
                         .since = {},
                         .after = m_rows.isEmpty() ? std::nullopt : std::optional(m_rows.constLast()),
                         .limit = kPageRows};
    const Result<QList<IntakeRecord>> rows =
        m_ledger ? m_ledger->select(page) : Result<QList<IntakeRecord>>(QList<IntakeRecord>());
    const QList<IntakeRecord> found = rows ? *rows : QList<IntakeRecord>();
    m_exhausted = found.size() < kPageRows;
    if (found.isEmpty())
        return;
    beginInsertRows({}, static_cast<int>(m_rows.size()), static_cast<int>(m_rows.size() + found.size() - 1));
    m_rows += found;
    endInsertRows();
}

} // namespace tagsmith::ledger
