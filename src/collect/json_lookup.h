#pragma once

#include "collect/ordered_json.h"

#include <QList>
#include <QString>

#include <optional>

namespace tagsmith::collect {

// The loosely typed values of the system's reports as text: a non-empty string
// as is, a number in its shortest decimal form; anything else (absent, null,
// the empty string, arrays, objects) gives none. Booleans count as the numbers
// 1 and 0, as the system's own property-list numbers do, so a flag written as
// true still reads as the "1" that the lookups compare with.
std::optional<QString> text(const JsonValue* value);

// The first member named key in a depth-first search: an object's own member
// first, then each member value in document order; array elements in order.
const JsonValue* nested(const JsonValue& value, QStringView key);

// Optionally signed decimal digits and nothing else, within 64 bits.
std::optional<qint64> parseInteger(const QString& text);

// parseInteger of text(value).
std::optional<qint64> integerOf(const JsonValue* value);

// The elements of an array whose every element is an object; none for
// anything else.
std::optional<QList<const JsonValue*>> objectsOf(const JsonValue* value);

} // namespace tagsmith::collect
