#include "ledger/intake_record.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace tagsmith::ledger {

namespace {

std::optional<QString> textMember(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    return value.isString() ? std::optional(value.toString()) : std::nullopt;
}

// The resale facts are optional members of the report JSON; they are read from
// the bytes so that reports written before and after they were added both fit.
void addResaleFacts(IntakeRecord& record, const QByteArray& bytes) {
    const QJsonObject object = QJsonDocument::fromJson(bytes).object();
    record.activationLock = textMember(object, QStringLiteral("activationLock"));
    record.remoteManagement = textMember(object, QStringLiteral("remoteManagement"));
    record.storageHealth = textMember(object, QStringLiteral("storageHealth"));
}

} // namespace

QString sourceText(IntakeSource source) {
    switch (source) {
    case IntakeSource::cablePush:
        return QStringLiteral("cable push");
    case IntakeSource::cablePull:
        return QStringLiteral("cable pull");
    case IntakeSource::cableV1:
        return QStringLiteral("cable v1");
    case IntakeSource::cableV2:
        return QStringLiteral("cable v2");
    case IntakeSource::relay:
        return QStringLiteral("relay");
    case IntakeSource::import:
        return QStringLiteral("import");
    }
    return {};
}

QString ledgerTime(const QDateTime& moment) {
    return moment.toUTC().toString(Qt::ISODate);
}

IntakeRecord intakeRecord(const report::Report& report, const QByteArray& bytes, const QString& fileName,
                          const QDateTime& receivedAt, std::optional<IntakeSource> source) {
    IntakeRecord record;
    record.fileName = fileName;
    record.sha256 = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    record.serial = report.serial;
    record.model = report.model;
    record.name = report.name;
    record.years = report.years.join(u'/');
    record.inches = report.inches.join(u'/');
    record.chip = report.chip;
    record.memory = report.memory;
    record.disk = report.disk;
    record.exterior = report.exterior;
    record.batteryHealth = report.batteryHealth;
    record.cycles = report.cycles;
    addResaleFacts(record, bytes);
    record.collectedAt = report.collectedAt;
    record.receivedAt = ledgerTime(receivedAt);
    if (source)
        record.source = sourceText(*source);
    return record;
}

} // namespace tagsmith::ledger
