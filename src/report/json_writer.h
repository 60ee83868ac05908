#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <variant>

namespace tagsmith::report {

// How a record is laid out as JSON text.
enum class JsonLayout {
    prettySorted,   // keys ascending, two-space indent, one member per line, " : "
    compactSorted,  // keys ascending, no whitespace
    compactAnyOrder // no whitespace, members in the order given
};

struct JsonMember {
    QString key;
    std::variant<QString, qint64, QStringList> value;
};

// Writes one flat JSON object. Texts are raw UTF-8 with quotes, backslashes,
// solidi ("\/") and control characters escaped; no trailing line feed. Keys
// are sorted by Unicode scalar value, which for these ASCII keys is byte order.
QByteArray writeJsonObject(const QList<JsonMember>& members, JsonLayout layout);

} // namespace tagsmith::report
