#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QMap>
#include <QString>

namespace tagsmith::test {

// Published vectors, read from Debian's python3-cryptography-vectors package
// so that a wrong wrapper cannot pass against numbers we typed ourselves.
inline QString vectorPath(const QString& relative) {
    return QStringLiteral("/usr/lib/python3/dist-packages/cryptography_vectors/") + relative;
}

inline const char* kMissingVectors = "python3-cryptography-vectors is missing: run scripts/install-deps";

// One "Name = value" record, with the "[Name = value]" section values it appeared under.
struct VectorRecord {
    QMap<QString, QString> fields;
    bool mustFail = false; // the record ends with a bare FAIL line

    QByteArray hex(const char* name) const { return QByteArray::fromHex(fields.value(QLatin1String(name)).toLatin1()); }
};

// Records are told apart by a repeated field name, not by blank lines, which
// some RFC files put inside a record. Section values are copied into fields.
inline QList<VectorRecord> readVectorRecords(const QString& relative) {
    QFile file(vectorPath(relative));
    QList<VectorRecord> records;
    QMap<QString, QString> section;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return records;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        QString line = QString::fromLatin1(raw).trimmed();
        const bool isSection = line.startsWith(u'[');
        const qsizetype equals = line.indexOf(u'=');
        if (line == QLatin1String("FAIL") && !records.isEmpty())
            records.last().mustFail = true;
        if (line.startsWith(u'#') || equals < 0)
            continue;
        const QString name = line.first(equals).remove(u'[').trimmed();
        const QString value = line.mid(equals + 1).remove(u']').trimmed();
        if (isSection)
            section.insert(name, value);
        else if (records.isEmpty() || records.last().fields.contains(name))
            records.append({section, false});
        if (!isSection)
            records.last().fields.insert(name, value);
    }
    return records;
}

} // namespace tagsmith::test
