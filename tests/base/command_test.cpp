#include "base/command.h"

#include <gtest/gtest.h>

using tagsmith::base::runCommand;

TEST(RunCommand, ReturnsStandardOutputOnlyWhateverTheExitStatus) {
    EXPECT_EQ(
        runCommand(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo out; echo err >&2; exit 3")}),
        QStringLiteral("out\n"));
    EXPECT_EQ(runCommand(QStringLiteral("/nonexistent/tool"), {}), QString());
}

TEST(RunCommand, InvalidUtf8IsReplacedAndValidTextKept) {
    const QString output =
        runCommand(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("printf 'A\\377B 序列号'")});
    EXPECT_EQ(output, QStringLiteral("A\uFFFDB 序列号"));
}
