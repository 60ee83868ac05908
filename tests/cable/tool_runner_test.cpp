#include "cable/tool_runner.h"

#include <gtest/gtest.h>

using tagsmith::cable::runTool;

TEST(ToolRunner, GivesStandardOutputOfASuccessfulRunInTheCLocale) {
    const QString script = QStringLiteral("echo \"$LC_ALL\"; echo noise >&2; cat");
    EXPECT_EQ(runTool(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}), QStringLiteral("C\n"));
}

// Without the watchdog the hanging tool would exit 0 after printing "early".
TEST(ToolRunner, EveryFailureGivesEmptyText) {
    EXPECT_EQ(runTool(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo partial; exit 3")}),
              QString());
    EXPECT_EQ(runTool(QStringLiteral("/nonexistent/remotectl"), {}), QString());
    EXPECT_EQ(runTool(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo early; exec sleep 30")},
                      std::chrono::milliseconds(200)),
              QString());
}
