#include "base/process.h"

#include "support/process_usage.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace std::chrono_literals;
using tagsmith::base::ErrorOutput;
using tagsmith::base::ProcessResult;
using tagsmith::base::ProcessSpec;
using tagsmith::base::runProcess;

namespace {

struct PolicyCase {
    const char* name = "";
    const char* script = "";
    ErrorOutput errors = ErrorOutput::Null;
    bool outputWhateverStatus = true;
    std::optional<std::chrono::milliseconds> timeLimit{};
    std::optional<qsizetype> outputLimit{};
    ProcessResult::End end = ProcessResult::End::Exited;
    int exitCode = 0;
    QByteArray output{};
    QByteArray errorText{};
};

class ProcessPolicy : public ::testing::TestWithParam<PolicyCase> {};

TEST_P(ProcessPolicy, GivesWhatThePolicyKeeps) {
    const PolicyCase& c = GetParam();
    const ProcessResult run = runProcess({.program = QStringLiteral("/bin/sh"),
                                          .arguments = {QStringLiteral("-c"), QString::fromUtf8(c.script)},
                                          .errors = c.errors,
                                          .timeLimit = c.timeLimit,
                                          .outputLimit = c.outputLimit,
                                          .outputWhateverStatus = c.outputWhateverStatus});
    EXPECT_EQ(run.end, c.end);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.output, c.output);
    EXPECT_EQ(run.errors, c.errorText);
}

constexpr const char* kBothStreams = "echo out; echo err >&2; exit 3";

INSTANTIATE_TEST_SUITE_P(
    Policies, ProcessPolicy,
    ::testing::Values(PolicyCase{.name = "ErrorsToNull", .script = kBothStreams, .exitCode = 3, .output = "out\n"},
                      PolicyCase{.name = "ErrorsMerged",
                                 .script = kBothStreams,
                                 .errors = ErrorOutput::Merged,
                                 .exitCode = 3,
                                 .output = "out\nerr\n"},
                      PolicyCase{.name = "ErrorsCaptured",
                                 .script = kBothStreams,
                                 .errors = ErrorOutput::Captured,
                                 .exitCode = 3,
                                 .output = "out\n",
                                 .errorText = "err\n"},
                      PolicyCase{.name = "FailedRunGivesNothing",
                                 .script = kBothStreams,
                                 .errors = ErrorOutput::Captured,
                                 .outputWhateverStatus = false,
                                 .exitCode = 3},
                      PolicyCase{.name = "InputIsTheNullDevice", .script = "cat; echo done", .output = "done\n"},
                      PolicyCase{.name = "HangingToolIsKilled",
                                 .script = "echo early; exec sleep 30",
                                 .outputWhateverStatus = false,
                                 .timeLimit = 200ms,
                                 .end = ProcessResult::End::TimedOut,
                                 .exitCode = -1},
                      PolicyCase{.name = "OverlongOutputIsCutOff",
                                 .script = "exec yes",
                                 .outputWhateverStatus = false,
                                 .outputLimit = 4096,
                                 .end = ProcessResult::End::OutputTooLarge,
                                 .exitCode = -1},
                      PolicyCase{.name = "CrashIsNoExit",
                                 .script = "echo out; kill -KILL $$",
                                 .end = ProcessResult::End::Crashed,
                                 .exitCode = -1,
                                 .output = "out\n"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST(Process, AddsToTheInheritedEnvironmentAndReadsLargeOutputToTheEnd) {
    qputenv("TAGSMITH_PROCESS_TEST", "inherited");
    const ProcessResult run = runProcess(
        {.program = QStringLiteral("/bin/sh"),
         .arguments = {QStringLiteral("-c"),
                       QStringLiteral(
                           "printf '%s %s ' \"$TAGSMITH_PROCESS_TEST\" \"$LC_ALL\"; head -c 3000000 /dev/zero")},
         .environment = tagsmith::base::kCLocale});
    qunsetenv("TAGSMITH_PROCESS_TEST");
    ASSERT_TRUE(run.succeeded());
    EXPECT_TRUE(run.output.startsWith("inherited C "));
    EXPECT_EQ(run.output.size(), 3000000 + qsizetype(qstrlen("inherited C ")));
}

// A tool that is missing is asked for again and again; each failed start must
// not cost the process a descriptor.
TEST(Process, WhatCannotStartLeavesNoDescriptorBehind) {
    QTemporaryDir folder;
    QFile notExecutable(folder.filePath(QStringLiteral("tool")));
    ASSERT_TRUE(notExecutable.open(QIODevice::WriteOnly) && notExecutable.write("#!/bin/sh\necho no\n") > 0);
    notExecutable.close();
    const int before = tagsmith::test::openDescriptorCount();
    for (const QString& path : {QStringLiteral("/nonexistent/tool"), folder.path(), notExecutable.fileName()}) {
        for (int run = 0; run < 5; ++run)
            EXPECT_EQ(runProcess({.program = path}).end, ProcessResult::End::NotStarted) << path.toStdString();
    }
    EXPECT_EQ(tagsmith::test::openDescriptorCount(), before);
}
