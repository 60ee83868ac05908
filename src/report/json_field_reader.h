#pragma once

#include "base/json_reader.h"
#include "base/result.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace tagsmith::report {

using base::kJsonDecodingDomain;

// Parses the bytes strictly (base::readJson) as one JSON object or one JSON
// array.
Result<QJsonObject> parseJsonObject(const QByteArray& bytes,
                                    base::RepeatedMembers repeated = base::RepeatedMembers::lastWins);
Result<QJsonArray> parseJsonArray(const QByteArray& bytes);

// Reads the typed members of one JSON object with the record rules: required
// members must be present with the right type; optional ones may be missing or
// null; a wrong type fails even for an optional member; unknown members are
// ignored; integers must be exact 64-bit integers. The first failure is kept
// and later reads return empty values, so a record is read top to bottom and
// checked once at the end.
class JsonFieldReader {
public:
    // where: how the object is reached, for messages ("Mac14,2[0]"); empty at the top.
    explicit JsonFieldReader(QJsonObject object, QString where = {});

    QString text(const QString& key);
    std::optional<QString> optionalText(const QString& key);
    qint64 integer(const QString& key);
    std::optional<qint64> optionalInteger(const QString& key);
    QStringList textList(const QString& key);
    std::optional<QStringList> optionalTextList(const QString& key);
    std::optional<QJsonObject> optionalObject(const QString& key);

    const std::optional<Error>& error() const { return m_error; }

private:
    std::optional<QJsonValue> present(const QString& key, bool required);
    std::optional<QString> textValue(const QJsonValue& value, const QString& path);
    void failType(const QString& path, const QString& expected, const QJsonValue& actual);
    void fail(const QString& description);
    QString pathOf(const QString& key) const;

    QJsonObject m_object;
    QString m_where;
    std::optional<Error> m_error;
};

} // namespace tagsmith::report
