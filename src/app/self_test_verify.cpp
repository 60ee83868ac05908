#include "app/self_test.h"

namespace tagsmith::app {

Result<QString> runVerify(const QStringList& /*arguments*/) {
    return selfTestNotBuilt(SelfTest::Verify);
}

} // namespace tagsmith::app
