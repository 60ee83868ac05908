#pragma once

#include "report/report.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace tagsmith::ledger {

// How a report reached the workstation. A row rebuilt from the folder alone
// does not know, and holds no source.
enum class IntakeSource { cablePush, cablePull, cableV1, cableV2, relay, import };

// The ledger's text for a source, e.g. "cable push". "cable v1" is a v1 cable
// report whose receiver did not say whether it was pushed or pulled.
QString sourceText(IntakeSource source);

// One saved report file, as the ledger keeps it.
struct IntakeRecord {
    qint64 rowId = 0; // the ledger's row, 0 until stored
    QString fileName; // the file's name in the reports folder
    QString sha256;   // of the file's bytes, lower-case hex
    QString serial;
    QString model;
    QString name;
    QString years;  // candidates joined with "/"
    QString inches; // candidates joined with "/"
    std::optional<QString> chip;
    std::optional<QString> memory;
    std::optional<QString> disk;
    std::optional<QString> exterior;
    std::optional<QString> batteryHealth;
    std::optional<qint64> cycles;
    std::optional<QString> activationLock;
    std::optional<QString> remoteManagement;
    std::optional<QString> storageHealth;
    QString collectedAt;
    QString receivedAt;                      // this machine's clock, UTC, ISO 8601
    std::optional<QString> source;           // sourceText(), absent when unknown
    std::optional<QString> labelSubmittedAt; // absent: no label job submitted

    bool operator==(const IntakeRecord&) const = default;
};

// The row for a report saved under fileName with these bytes.
IntakeRecord intakeRecord(const report::Report& report, const QByteArray& bytes, const QString& fileName,
                          const QDateTime& receivedAt, std::optional<IntakeSource> source);

QString ledgerTime(const QDateTime& moment); // UTC, seconds, e.g. 2025-03-01T09:15:00Z

} // namespace tagsmith::ledger
