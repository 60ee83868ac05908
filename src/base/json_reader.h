#pragma once

#include "base/json_value.h"
#include "base/result.h"

#include <QByteArray>

namespace tagsmith::base {

// Domain of every JSON decoding failure; its descriptions name the member and
// the expected type.
inline const QString kJsonDecodingDomain = QStringLiteral("JSON");

// Objects and arrays nested deeper than this fail, so hostile text cannot
// exhaust the stack of the code that walks a document.
inline constexpr int kMaxJsonNesting = 1024;

Error invalidJsonError(qsizetype offset);

// What to do with an object that names the same member twice.
enum class RepeatedMembers {
    lastWins, // as JavaScript does: the first position, the last value
    refused,  // the parse fails with kJsonRepeatedMember: two readers could take different values
};

// The error code of a refused repeated member, in kJsonDecodingDomain.
inline constexpr int kJsonRepeatedMember = 2;

// Parses JSON text strictly by RFC 8259 (no invalid escapes, no raw control
// characters in strings, no lone surrogates, no ".8" or "01", no trailing
// text), keeping every object's members in document order. Integers that fit
// 64 bits stay exact; other numbers are doubles, and a number beyond double's
// range fails.
Result<JsonValue> readJson(const QByteArray& text, RepeatedMembers repeated = RepeatedMembers::lastWins);

// The same, for a document whose top level must be an object.
Result<JsonValue> readJsonObject(const QByteArray& text, RepeatedMembers repeated = RepeatedMembers::lastWins);

} // namespace tagsmith::base
