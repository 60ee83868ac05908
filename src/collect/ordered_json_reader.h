#pragma once

#include "base/result.h"
#include "collect/ordered_json.h"

#include <QByteArray>

namespace tagsmith::collect {

// Nesting deeper than this fails, so hostile text cannot exhaust the stack of
// the reader or of the searches that walk its result.
inline constexpr int kMaxJsonDepth = 256;

// Parses JSON text (RFC 8259) whose top level is an object, keeping every
// object's members in document order. A repeated key keeps the position of its
// first appearance and the value of its last, as JavaScript does. Failures are
// the JSON decoding errors of the report module.
Result<JsonValue> readJsonObject(const QByteArray& text);

} // namespace tagsmith::collect
