#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QMap>
#include <QString>

namespace tagsmith::test {

// Published test vectors, read from Debian's python3-cryptography-vectors
// package so that a wrong wrapper cannot pass against numbers we typed ourselves.
inline QString vectorPath(const QString& relative) {
    return QStringLiteral("/usr/lib/python3/dist-packages/cryptography_vectors/") + relative;
}

// One "Name = value" record of a NIST or RFC vector file, with the values of
// the "[Name = value]" section it appeared in.
struct VectorRecord {
    QMap<QString, QString> fields;
    QMap<QString, QString> section;
    bool mustFail = false; // the record ends with a bare FAIL line

    QByteArray hex(const QString& name) const { return QByteArray::fromHex(fields.value(name).toLatin1()); }
};

// Records are told apart by a repeated field name, not by blank lines: some
// RFC files put blank lines inside one record.
class VectorReader {
public:
    void line(const QString& text) {
        const qsizetype equals = text.indexOf(u'=');
        if (text.startsWith(u'[') && text.endsWith(u']') && equals > 0) {
            finish();
            m_section.insert(text.mid(1, equals - 1).trimmed(), text.mid(equals + 1).chopped(1).trimmed());
        } else if (text == QLatin1String("FAIL")) {
            m_current.mustFail = true;
        } else if (equals > 0) {
            const QString name = text.first(equals).trimmed();
            if (m_current.fields.contains(name))
                finish();
            if (m_current.fields.isEmpty())
                m_current.section = m_section;
            m_current.fields.insert(name, text.mid(equals + 1).trimmed());
        }
    }

    QList<VectorRecord> records() {
        finish();
        return m_records;
    }

private:
    void finish() {
        if (!m_current.fields.isEmpty())
            m_records.append(m_current);
        m_current = {};
    }

    QMap<QString, QString> m_section;
    VectorRecord m_current;
    QList<VectorRecord> m_records;
};

// Empty when the file is missing: callers assert on the count they expect.
inline QList<VectorRecord> readVectorRecords(const QString& relative) {
    QFile file(vectorPath(relative));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    VectorReader reader;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString text = QString::fromLatin1(raw).trimmed();
        if (!text.isEmpty() && !text.startsWith(u'#'))
            reader.line(text);
    }
    return reader.records();
}

inline const char* kMissingVectors = "the python3-cryptography-vectors package is missing: run scripts/install-deps";

} // namespace tagsmith::test
