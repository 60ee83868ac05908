#include "cable/tool_runner.h"

#include "support/process_usage.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

using tagsmith::cable::runTool;

TEST(ToolRunner, GivesStandardOutputOfASuccessfulRunInTheCLocale) {
    const QString script = QStringLiteral("echo \"$LC_ALL\"; echo noise >&2; cat");
    EXPECT_EQ(runTool(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}), QStringLiteral("C\n"));
}

TEST(ToolRunner, EveryFailureGivesEmptyText) {
    EXPECT_EQ(runTool(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo partial; exit 3")}),
              QString());
    EXPECT_EQ(runTool(QStringLiteral("/nonexistent/remotectl"), {}), QString());
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(runTool(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo early; exec sleep 30")},
                      std::chrono::milliseconds(200)),
              QString());
    EXPECT_LT(clock.elapsed(), 5000) << "the watchdog kills a tool that hangs";
}

// Discovery asks for every tool once a second, also where one is missing.
TEST(ToolRunner, AMissingToolLeavesNoDescriptorBehind) {
    const int before = tagsmith::test::openDescriptorCount();
    for (int run = 0; run < 10; ++run)
        EXPECT_EQ(runTool(QStringLiteral("/nonexistent/remotectl"), {}), QString());
    EXPECT_EQ(tagsmith::test::openDescriptorCount(), before);
}
