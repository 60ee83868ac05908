#pragma once

#include "app/startup.h"

#include <QStringList>

namespace tagsmith::app {

// Runs one self-test mode: its summary line on standard output and 0, or the
// failure's description on standard error and 1.
int runSelfTest(SelfTest test, const QStringList& arguments);

} // namespace tagsmith::app
