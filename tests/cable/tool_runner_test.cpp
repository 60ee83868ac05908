#include "cable/tool_runner.h"

#include <gtest/gtest.h>

using tagsmith::cable::runTool;

// A tool that cannot start or hangs gives nothing too: Process.WhatCannotStartLeavesNoDescriptorBehind
// and CableNetwork.CurrentRunsTheToolsAndSurvivesOneThatHangs, through this runner.
TEST(ToolRunner, GivesStandardOutputOfASuccessfulRunInTheCLocaleAndNothingOfAFailedOne) {
    const QString script = QStringLiteral("echo \"$LC_ALL\"; echo noise >&2; cat");
    EXPECT_EQ(runTool(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}), QStringLiteral("C\n"));
    EXPECT_EQ(runTool(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo partial; exit 3")}),
              QString());
}
