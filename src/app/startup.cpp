#include "app/startup.h"

#include <array>

namespace tagsmith::app {

namespace {

struct SelfTestSwitch {
    SelfTest test;
    const char* name;
    qsizetype argumentCount; // program path included
};

// Checked in this order; the first whose switch and exact argument count match wins.
constexpr std::array kSelfTestSwitches{
    SelfTestSwitch{SelfTest::AModelTest, "--a-model-test", 3},
    SelfTestSwitch{SelfTest::PullTest, "--pull-test", 3},
    SelfTestSwitch{SelfTest::Verify, "--verify", 4},
    SelfTestSwitch{SelfTest::Test, "--test", 5},
    SelfTestSwitch{SelfTest::InspectionSelfTest, "--inspection-self-test", 3},
};

std::optional<SelfTest> matchSelfTest(const QStringList& arguments) {
    for (const SelfTestSwitch& candidate : kSelfTestSwitches) {
        if (arguments.size() == candidate.argumentCount && arguments.at(1) == QLatin1String(candidate.name))
            return candidate.test;
    }
    return std::nullopt;
}

} // namespace

bool isCollectorIdentifier(const QString& bundleIdentifier) {
    return bundleIdentifier == QLatin1String("local.tagsmith.usbcollector") ||
           bundleIdentifier == QLatin1String("local.tagsmith.inspector");
}

StartupPlan planStartup(const QStringList& arguments, const QString& bundleIdentifier) {
    StartupPlan plan;
    plan.isCollector = isCollectorIdentifier(bundleIdentifier);
    plan.inspectionPreview = arguments.contains(QStringLiteral("--inspection-preview"));
    plan.selfTest = matchSelfTest(arguments);
    plan.relaunch = !plan.selfTest && plan.isCollector && !plan.inspectionPreview &&
                    !arguments.contains(QStringLiteral("--temporary-run"));
    return plan;
}

QString selfTestSwitch(SelfTest test) {
    for (const SelfTestSwitch& candidate : kSelfTestSwitches) {
        if (candidate.test == test)
            return QString::fromLatin1(candidate.name);
    }
    return {};
}

} // namespace tagsmith::app
