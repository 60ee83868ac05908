#include "app/self_test.h"

#include <cstdio>

namespace tagsmith::app {

namespace {

Result<QString> dispatch(SelfTest test, const QStringList& arguments) {
    switch (test) {
    case SelfTest::AModelTest:
        return runAModelTest(arguments);
    case SelfTest::PullTest:
        return runPullTest(arguments);
    case SelfTest::Verify:
        return runVerify(arguments);
    case SelfTest::Test:
        return runCollectionTest(arguments);
    case SelfTest::InspectionSelfTest:
        return runInspectionSelfTest(arguments);
    }
    return selfTestNotBuilt(test);
}

} // namespace

Error selfTestFailure(const QString& description) {
    return {QStringLiteral("自检"), 1, description};
}

Error selfTestNotBuilt(SelfTest test) {
    return selfTestFailure(QStringLiteral("此版本尚未包含自检模式 %1。").arg(selfTestSwitch(test)));
}

int runSelfTest(SelfTest test, const QStringList& arguments) {
    const Result<QString> outcome = dispatch(test, arguments);
    if (!outcome) {
        std::fputs(outcome.error().description.toUtf8().constData(), stderr);
        return 1;
    }
    std::puts(outcome.value().toUtf8().constData());
    return 0;
}

} // namespace tagsmith::app
