#include "app/self_test.h"

namespace tagsmith::app {

Result<QString> runCollectionTest(const QStringList& /*arguments*/) {
    return selfTestNotBuilt(SelfTest::Test);
}

} // namespace tagsmith::app
