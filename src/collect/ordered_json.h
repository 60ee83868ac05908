#pragma once

#include "base/json_reader.h"
#include "base/json_value.h"

// Report assembly reads the system's reports through the shared strict reader,
// whose values keep document order: the lookups take the first hit in that order.
namespace tagsmith::collect {

using base::JsonArray;
using base::JsonMember;
using base::JsonObject;
using base::JsonValue;
using base::readJsonObject;

} // namespace tagsmith::collect
