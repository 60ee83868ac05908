#include "app/self_test.h"

namespace tagsmith::app {

Result<QString> runAModelTest(const QStringList& /*arguments*/) {
    return selfTestNotBuilt(SelfTest::AModelTest);
}

} // namespace tagsmith::app
