#pragma once

#include "base/result.h"
#include "ledger/intake_record.h"
#include "base/sqlite.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>

namespace tagsmith::ledger {

// Which rows a query returns, newest received first.
struct Selection {
    QString text;                      // a serial or any part of it, a model or a name; empty: every row
    QString since;                     // ledgerTime() of the earliest receipt; empty: no bound
    std::optional<IntakeRecord> after; // the last row of the previous page: only older rows
    int limit = -1;                    // -1: no limit
};

struct RebuildCount {
    int rows = 0;    // report files now in the ledger
    int invalid = 0; // .macreport files skipped because they failed validation
};

// The workstation's intake ledger: an index of the saved report files in an
// SQLite file beside the reports folder. The folder stays the source of
// truth; the ledger can always be rebuilt from it. Connections of several
// processes share the file safely (WAL, busy time-out).
class Ledger {
public:
    static constexpr int kSchemaVersion = 1;
    static inline const QString kErrorDomain = QStringLiteral("账本");

    static QString defaultDataFolder();                        // Tagsmith under the user's application data
    static QString pathIn(const QString& dataFolder);          // dataFolder/ledger.sqlite
    static QString reportsFolderIn(const QString& dataFolder); // dataFolder/Reports

    // Opens the ledger, creating it when missing. A file that is no sound
    // database is moved aside (kept beside it) and a new one started.
    static Result<Ledger> open(const QString& path);
    // Opens an existing ledger for queries only, without checking or changing it.
    static Result<Ledger> openForReading(const QString& path);

    // True when the rows must come from the folder: a new file, an older
    // schema, a file moved aside, or a write that failed earlier.
    bool needsRebuild() const { return m_needsRebuild; }
    // Remembers, across processes and restarts, that a rebuild is due.
    static void markForRebuild(const QString& path);
    static QString rebuildMarker(const QString& path);

    // Whether a refreshed row takes the record's receipt (time and source) or keeps its own.
    enum class Receipt { replace, keep };

    // Adds or replaces the row of one saved file; a label submission already
    // recorded for that file is kept.
    Result<void> record(const IntakeRecord& record);
    Result<void> markLabelSubmitted(const QString& fileName, const QString& at);

    // Reads every .macreport file of the folder, adds or refreshes its row,
    // skips and counts invalid ones, and drops rows of files that are gone.
    // Never changes a file of the folder. Stops early when stop becomes true.
    Result<RebuildCount> rebuild(const QString& reportsFolder, const std::atomic<bool>* stop = nullptr);

    Result<QList<IntakeRecord>> select(const Selection& selection);
    Result<void> visit(const Selection& selection, const std::function<void(const IntakeRecord&)>& visitor);
    Result<qint64> count();

private:
    Ledger(base::SqliteConnection connection, QString path) : m_db(std::move(connection)), m_path(std::move(path)) {}
    Result<void> prepareSchema();
    Result<void> failure(const QString& what) const;
    Result<void> upsert(const IntakeRecord& record, Receipt receipt);
    Result<void> refreshFile(const QString& folder, const QString& fileName, RebuildCount& count);
    Result<void> dropRowsOfMissingFiles(const QString& folder, const QSet<QString>& seen);

    base::SqliteConnection m_db;
    QString m_path;
    bool m_needsRebuild = false;
};

} // namespace tagsmith::ledger
