#include "base/process.h"

#include "base/atomic_file.h"
#include "support/process_usage.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace std::chrono_literals;
using tagsmith::base::ErrorOutput;
using tagsmith::base::ProcessResult;
using tagsmith::base::ProcessSpec;
using tagsmith::base::runProcess;

namespace {

using End = ProcessResult::End;

struct PolicyCase {
    const char* name = "";
    const char* script = "";
    ProcessSpec request{};
    End end = End::Exited;
    int exitCode = 0;
    QByteArray output{};
    QByteArray errorText{};
};

class ProcessPolicy : public ::testing::TestWithParam<PolicyCase> {};

TEST_P(ProcessPolicy, GivesWhatThePolicyKeeps) {
    const PolicyCase& c = GetParam();
    ProcessSpec request = c.request;
    request.program = QStringLiteral("/bin/sh");
    request.arguments = {QStringLiteral("-c"), QString::fromUtf8(c.script)};
    const ProcessResult run = runProcess(request);
    EXPECT_EQ(run.end, c.end);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.output, c.output);
    EXPECT_EQ(run.errors, c.errorText);
}

constexpr const char* kBothStreams = "echo out; echo err >&2; exit 3";
const ProcessSpec kAnyStatus{.outputWhateverStatus = true};
const ProcessSpec kMergedAnyStatus{.errors = ErrorOutput::Merged, .outputWhateverStatus = true};
const ProcessSpec kCapturedAnyStatus{.errors = ErrorOutput::Captured, .outputWhateverStatus = true};

INSTANTIATE_TEST_SUITE_P(
    Policies, ProcessPolicy,
    ::testing::Values(
        PolicyCase{"ErrorsToNull", kBothStreams, kAnyStatus, End::Exited, 3, "out\n"},
        PolicyCase{"ErrorsMerged", kBothStreams, kMergedAnyStatus, End::Exited, 3, "out\nerr\n"},
        PolicyCase{"ErrorsCaptured", kBothStreams, kCapturedAnyStatus, End::Exited, 3, "out\n", "err\n"},
        PolicyCase{"FailedRunGivesNothing", kBothStreams, {.errors = ErrorOutput::Captured}, End::Exited, 3},
        PolicyCase{"InputIsTheNullDevice", "cat; echo done", {}, End::Exited, 0, "done\n"},
        PolicyCase{"HangingToolIsKilled", "echo early; exec sleep 30", {.timeLimit = 200ms}, End::TimedOut, -1},
        PolicyCase{"OverlongOutputIsCutOff", "exec yes", {.outputLimit = 4096}, End::OutputTooLarge, -1},
        PolicyCase{"CrashIsNoExit", "echo out; kill -KILL $$", kAnyStatus, End::Crashed, -1, "out\n"}),
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
    const QString notExecutable = folder.filePath(QStringLiteral("tool"));
    ASSERT_TRUE(tagsmith::base::writeFileAtomically(notExecutable, "#!/bin/sh\necho no\n"));
    const int before = tagsmith::test::openDescriptorCount();
    for (const QString& path : {QStringLiteral("/nonexistent/tool"), folder.path(), notExecutable}) {
        for (int run = 0; run < 5; ++run)
            EXPECT_EQ(runProcess({.program = path}).end, ProcessResult::End::NotStarted) << path.toStdString();
    }
    EXPECT_EQ(tagsmith::test::openDescriptorCount(), before);
}

TEST(Process, SaysInChineseWhyAToolDidNotStartOrEnded) {
    const ProcessResult missing =
        runProcess({.program = QStringLiteral("/nonexistent/tool"), .checkExecutable = false});
    EXPECT_EQ(missing.failure, QStringLiteral("无法启动（程序不存在或没有执行权限）"));
    const ProcessResult killed = runProcess(
        {.program = QStringLiteral("/bin/sh"), .arguments = {QStringLiteral("-c"), QStringLiteral("kill -9 $$")}});
    EXPECT_EQ(killed.end, ProcessResult::End::Crashed);
    EXPECT_EQ(killed.failure, QStringLiteral("程序异常退出"));
}
