#include "ledger/ledger.h"

#include "report/report_file.h"
#include "report/validation.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

namespace tagsmith::ledger {

namespace {

// Short transactions, so that the workstation's own writes get their turn
// while another process rebuilds.
constexpr int kFilesPerTransaction = 500;

// In name order, so rows of reports saved in the same second keep the order of their collection.
QStringList reportFiles(const QString& folder) {
    QStringList names;
    QDirIterator files(folder, {QStringLiteral("*.macreport")}, QDir::Files);
    while (files.hasNext())
        names.append(QFileInfo(files.next()).fileName());
    names.sort();
    return names;
}

} // namespace

Result<void> Ledger::refreshFile(const QString& folder, const QString& fileName, RebuildCount& count) {
    const QString path = QDir(folder).filePath(fileName);
    const Result<QByteArray> bytes = report::readReportFile(path);
    const Result<report::Report> report = bytes ? report::validated(*bytes) : Result<report::Report>(bytes.error());
    if (!report) {
        ++count.invalid;
        auto drop = m_db.prepare("DELETE FROM intake WHERE fileName = ?1");
        if (!drop)
            return failure(QStringLiteral("重建"));
        drop->bind(1, fileName);
        return drop->run() ? Result<void>() : failure(QStringLiteral("重建"));
    }
    // A file's last change is when it was saved, the best guess at its receipt.
    const QDateTime saved = QFileInfo(path).lastModified();
    const Result<void> stored = upsert(intakeRecord(*report, *bytes, fileName, saved, std::nullopt), Receipt::keep);
    if (stored)
        ++count.rows;
    return stored;
}

Result<void> Ledger::dropRowsOfMissingFiles(const QString& folder, const QSet<QString>& seen) {
    auto names = m_db.prepare("SELECT fileName FROM intake");
    auto drop = m_db.prepare("DELETE FROM intake WHERE fileName = ?1");
    if (!names || !drop)
        return failure(QStringLiteral("重建"));
    QStringList gone;
    while (names->next()) {
        const QString name = names->text(0);
        // A report saved while the folder was read has a row but was not seen.
        if (!seen.contains(name) && !QFileInfo::exists(QDir(folder).filePath(name)))
            gone.append(name);
    }
    for (const QString& name : gone) {
        drop->bind(1, name);
        if (!drop->run())
            return failure(QStringLiteral("重建"));
    }
    return {};
}

Result<RebuildCount> Ledger::rebuild(const QString& reportsFolder, const std::atomic<bool>* stop) {
    markForRebuild(m_path); // a rebuild cut short resumes next time
    const QStringList names = reportFiles(reportsFolder);
    RebuildCount count;
    for (qsizetype first = 0; first < names.size(); first += kFilesPerTransaction) {
        if (stop && *stop)
            return Error{kErrorDomain, 3, QStringLiteral("账本重建已中止。")};
        if (!m_db.exec("BEGIN IMMEDIATE"))
            return failure(QStringLiteral("重建")).error();
        for (const QString& name : names.mid(first, kFilesPerTransaction)) {
            if (const Result<void> refreshed = refreshFile(reportsFolder, name, count); !refreshed) {
                (void)m_db.exec("ROLLBACK");
                return refreshed.error();
            }
        }
        if (!m_db.exec("COMMIT"))
            return failure(QStringLiteral("重建")).error();
    }
    const QSet<QString> seen(names.cbegin(), names.cend());
    if (const Result<void> dropped = dropRowsOfMissingFiles(reportsFolder, seen); !dropped)
        return dropped.error();
    QFile::remove(rebuildMarker(m_path));
    m_needsRebuild = false;
    return count;
}

} // namespace tagsmith::ledger
