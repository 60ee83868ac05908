#include "app/startup.h"

#include <gtest/gtest.h>

using tagsmith::app::planStartup;
using tagsmith::app::SelfTest;

namespace {
const QString kCollector = QStringLiteral("local.tagsmith.usbcollector");
const QString kWorkstation = QStringLiteral("local.tagsmith.workstation");

QStringList argv(std::initializer_list<const char*> rest) {
    QStringList list{QStringLiteral("/x/VOREvo")};
    for (const char* argument : rest)
        list << QString::fromUtf8(argument);
    return list;
}
} // namespace

TEST(Startup, SelfTestSwitchesNeedTheirExactArgumentCountAndFirstPosition) {
    const struct {
        QStringList arguments;
        std::optional<SelfTest> expected;
    } cases[] = {
        {argv({"--a-model-test", "r.json"}), SelfTest::AModelTest},
        {argv({"--pull-test", "r.json"}), SelfTest::PullTest},
        {argv({"--verify", "r.json", "out.png"}), SelfTest::Verify},
        {argv({"--test", "sp.json", "models.json", "out.json"}), SelfTest::Test},
        {argv({"--inspection-self-test", "out"}), SelfTest::InspectionSelfTest},
        {argv({"--test", "sp.json", "models.json"}), std::nullopt},
        {argv({"r.json", "--a-model-test"}), std::nullopt},
        {argv({"--A-MODEL-TEST", "r.json"}), std::nullopt},
        {argv({"--pull-test", "r.json", "extra"}), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(planStartup(c.arguments, kCollector).selfTest, c.expected) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(planStartup(c.arguments, kWorkstation).selfTest, c.expected) << c.arguments.join(u' ').toStdString();
    }
    EXPECT_FALSE(planStartup(argv({"--verify", "r.json", "out.png"}), kCollector).relaunch)
        << "a self-test never relaunches";
}

TEST(Startup, RoleComesFromTheBundleIdentifierAndOnlyTheCollectorRelaunches) {
    const struct {
        QString identifier;
        QStringList arguments;
        bool collector;
        bool preview;
        bool relaunch;
    } cases[] = {
        {kCollector, argv({}), true, false, true},
        {QStringLiteral("local.tagsmith.inspector"), argv({}), true, false, true},
        {kCollector, argv({"-psn_0_1234", "--temporary-run"}), true, false, false},
        {kCollector, argv({"--inspection-preview"}), true, true, false},
        {kWorkstation, argv({}), false, false, false},
        {kWorkstation, argv({"--inspection-preview"}), false, true, false},
        {QString(), argv({}), false, false, false},
        {QStringLiteral("local.tagsmith.usbcollector.extra"), argv({}), false, false, false},
    };
    for (const auto& c : cases) {
        const auto plan = planStartup(c.arguments, c.identifier);
        const std::string label = (c.identifier + u' ' + c.arguments.join(u' ')).toStdString();
        EXPECT_EQ(plan.isCollector, c.collector) << label;
        EXPECT_EQ(plan.inspectionPreview, c.preview) << label;
        EXPECT_EQ(plan.relaunch, c.relaunch) << label;
        EXPECT_FALSE(plan.selfTest) << label;
    }
}
