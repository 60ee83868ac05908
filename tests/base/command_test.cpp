#include "base/command.h"

#include "support/process_usage.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using tagsmith::base::runCommand;

// What a shell script prints, as runCommand hands it back: standard output
// only, invalid UTF-8 replaced, standard input at its end at once, the
// environment inherited.
TEST(RunCommand, ReturnsStandardOutputAsText) {
    qputenv("TAGSMITH_COMMAND_TEST", "inherited");
    const std::pair<const char*, QString> cases[] = {
        {"echo out; echo err >&2", QStringLiteral("out\n")},
        {"printf 'A\\377B 序列号'", QStringLiteral("A\uFFFDB 序列号")},
        {"cat; echo done", QStringLiteral("done\n")},
        {"printf %s \"$TAGSMITH_COMMAND_TEST\"", QStringLiteral("inherited")},
    };
    for (const auto& [script, expected] : cases)
        EXPECT_EQ(runCommand(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromUtf8(script)}), expected)
            << script;
    qunsetenv("TAGSMITH_COMMAND_TEST");
    const QString large = runCommand(QStringLiteral("/bin/sh"),
                                     {QStringLiteral("-c"), QStringLiteral("head -c 3000000 /dev/zero | tr '\\0' x")});
    EXPECT_EQ(large.size(), 3000000) << "read to the end";
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
