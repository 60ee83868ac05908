#include "base/command.h"

#include <gtest/gtest.h>

using tagsmith::base::runCommand;

TEST(RunCommand, ReturnsStandardOutputOnly) {
    EXPECT_EQ(runCommand(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo out; echo err >&2")}),
              QStringLiteral("out\n"));
}

TEST(RunCommand, MissingExecutableGivesEmptyText) {
    EXPECT_EQ(runCommand(QStringLiteral("/nonexistent/tool"), {}), QString());
}

TEST(RunCommand, InvalidUtf8IsReplacedAndValidTextKept) {
    const QString output =
        runCommand(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("printf 'A\\377B 序列号'")});
    EXPECT_EQ(output, QStringLiteral("A\uFFFDB 序列号"));
}

TEST(RunCommand, StandardInputIsTheNullDeviceSoReadersEndAtOnce) {
    EXPECT_EQ(runCommand(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("cat; echo done")}),
              QStringLiteral("done\n"));
}

TEST(RunCommand, ReadsLargeOutputToTheEnd) {
    const QString output = runCommand(QStringLiteral("/bin/sh"),
                                      {QStringLiteral("-c"), QStringLiteral("head -c 3000000 /dev/zero | tr '\\0' x")});
    EXPECT_EQ(output.size(), 3000000);
}

TEST(RunCommand, InheritsTheEnvironment) {
    qputenv("TAGSMITH_COMMAND_TEST", "inherited");
    EXPECT_EQ(runCommand(QStringLiteral("/bin/sh"),
                         {QStringLiteral("-c"), QStringLiteral("printf %s \"$TAGSMITH_COMMAND_TEST\"")}),
              QStringLiteral("inherited"));
    qunsetenv("TAGSMITH_COMMAND_TEST");
}
