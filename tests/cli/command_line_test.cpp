#include "support/cli.h"

#include <gtest/gtest.h>

using tagsmith::test::runCli;

TEST(CommandLine, UnknownVerbOrNoVerbIsAUsageErrorWithStatus2) {
    for (const QStringList& arguments : {QStringList{}, QStringList{QStringLiteral("frobnicate")}}) {
        const auto run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(QString::fromUtf8(run.standardError).contains(QStringLiteral("用法")))
            << run.standardError.toStdString();
        EXPECT_TRUE(run.standardOutput.isEmpty());
    }
}
