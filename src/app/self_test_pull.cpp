#include "app/self_test.h"

namespace tagsmith::app {

Result<QString> runPullTest(const QStringList& /*arguments*/) {
    return selfTestNotBuilt(SelfTest::PullTest);
}

} // namespace tagsmith::app
