#pragma once

#include "cli/verb.h"

namespace tagsmith::cli {

// "cable links" and "cable serve".
QList<Verb> cableVerbs();

} // namespace tagsmith::cli
