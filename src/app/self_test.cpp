#include "app/self_test.h"

#include <cstdio>

namespace tagsmith::app {

int runSelfTest(SelfTest test, const QStringList& /*arguments*/) {
    const QString message = QStringLiteral("此版本尚未包含自检模式 %1。").arg(selfTestSwitch(test));
    std::fputs(message.toUtf8().constData(), stderr);
    return 1;
}

} // namespace tagsmith::app
