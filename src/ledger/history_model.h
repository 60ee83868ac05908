#pragma once

#include "ledger/intake_record.h"
#include "ledger/ledger.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>

#include <optional>

namespace tagsmith::ledger {

// The ledger's rows, newest received first, for a table view. Rows come a
// page at a time as the view scrolls, so a ledger of any size shows at once.
// The ledger is opened for reading on the first fetch, never earlier.
class HistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kPageRows = 200;

    explicit HistoryModel(QString ledgerPath, QObject* parent = nullptr);

    // Shows only rows whose serial, model or name contains the text; empty: all.
    void setFilter(const QString& text);
    // Starts again from the newest row, for rows added since.
    void reload();
    const IntakeRecord& record(int row) const { return m_rows.at(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    QString m_ledgerPath;
    std::optional<Ledger> m_ledger;
    QString m_filter;
    QList<IntakeRecord> m_rows;
    bool m_exhausted = false;
};

} // namespace tagsmith::ledger
