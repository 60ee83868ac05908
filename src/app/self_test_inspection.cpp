#include "app/self_test.h"

namespace tagsmith::app {

Result<QString> runInspectionSelfTest(const QStringList& /*arguments*/) {
    return selfTestNotBuilt(SelfTest::InspectionSelfTest);
}

} // namespace tagsmith::app
