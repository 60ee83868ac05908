#include "base/command.h"

#include <gtest/gtest.h>

using tagsmith::base::runCommand;

TEST(RunCommand, ReturnsStandardOutputAsUtf8WhateverTheExitStatus) {
    EXPECT_EQ(runCommand(QStringLiteral("/bin/sh"),
                         {QStringLiteral("-c"), QStringLiteral("printf 'A\\377B 序列号'; echo err >&2; exit 3")}),
              QStringLiteral("A\uFFFDB 序列号"));
    EXPECT_EQ(runCommand(QStringLiteral("/nonexistent/tool"), {}), QString());
}
