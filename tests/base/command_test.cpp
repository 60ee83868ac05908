#include "base/command.h"

#include "support/process_usage.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using tagsmith::base::runCommand;

TEST(RunCommand, ReturnsStandardOutputOnly) {
    EXPECT_EQ(runCommand(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo out; echo err >&2")}),
              QStringLiteral("out\n"));
}

// A tool that is missing is asked for again and again; each failed start must
// not cost the process a descriptor.
TEST(RunCommand, WhatCannotStartGivesEmptyTextAndLeavesNoDescriptorBehind) {
    QTemporaryDir folder;
    QFile notExecutable(folder.filePath(QStringLiteral("tool")));
    ASSERT_TRUE(notExecutable.open(QIODevice::WriteOnly) && notExecutable.write("#!/bin/sh\necho no\n") > 0);
    notExecutable.close();
    const int before = tagsmith::test::openDescriptorCount();
    for (const QString& path : {QStringLiteral("/nonexistent/tool"), folder.path(), notExecutable.fileName()}) {
        for (int run = 0; run < 5; ++run)
            EXPECT_EQ(runCommand(path, {}), QString()) << path.toStdString();
    }
    EXPECT_EQ(tagsmith::test::openDescriptorCount(), before);
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
