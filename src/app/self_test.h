#pragma once

#include "app/startup.h"
#include "base/result.h"

#include <QStringList>

namespace tagsmith::app {

// Runs one self-test mode: its summary line on standard output and 0, or the
// failure's description on standard error (no line feed added) and 1.
int runSelfTest(SelfTest test, const QStringList& arguments);

// The modes, one per file; each returns its summary line. arguments start with
// the program path, then the switch.
Result<QString> runAModelTest(const QStringList& arguments);
Result<QString> runPullTest(const QStringList& arguments);
Result<QString> runVerify(const QStringList& arguments);
Result<QString> runCollectionTest(const QStringList& arguments);
Result<QString> runInspectionSelfTest(const QStringList& arguments);

// A self-test's failure, with the operator's description.
Error selfTestFailure(const QString& description);

// The failure of a mode whose subsystem this build does not have yet.
Error selfTestNotBuilt(SelfTest test);

} // namespace tagsmith::app
