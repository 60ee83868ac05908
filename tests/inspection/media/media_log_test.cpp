#include "inspection/media/media_log.h"
#include "inspection/media/media_runtime.h"

#include "base/atomic_file.h"
#include "base/read_file.h"
#include "base/serial_queue.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include <thread>

using tagsmith::inspection::media::MediaLog;

namespace {

class MediaLogFile : public testing::Test {
protected:
    static QByteArray read(const QString& path) { return tagsmith::base::readFileUpTo(path, 1 << 20).value(); }
    // Writes the event and waits until the log queue has handled it.
    void logAndWait(const QString& message) {
        bool written = false;
        log.write(message);
        queue.drain([&written] { written = true; });
        ASSERT_TRUE(tagsmith::test::waitUntil([&written] { return written; }));
    }

    QTemporaryDir home;
    QString directory = home.path() + QStringLiteral("/Library/Logs/Lintwell");
    tagsmith::base::SerialQueue queue{QStringLiteral("test.media-log")};
    QStringList systemLog;
    MediaLog log{directory, queue, [this](const QString& message) { systemLog.append(message); }};
};

TEST_F(MediaLogFile, WritesOneTimeStampedLinePerEventAndTheSystemLogToo) {
    logAndWait(QStringLiteral("camera.startRunning.begin"));
    logAndWait(QStringLiteral("camera.stopRunning.end running=false\ninputs=0"));
    const QList<QByteArray> lines = read(log.filePath()).split('\n');
    ASSERT_EQ(lines.size(), 3);
    const QRegularExpression stamped(QRegularExpression::anchoredPattern(
        QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ camera\\.startRunning\\.begin")));
    EXPECT_TRUE(stamped.match(QString::fromUtf8(lines[0])).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(" camera.stopRunning.end running=false inputs=0"));
    EXPECT_EQ(systemLog, QStringList({QStringLiteral("camera.startRunning.begin"),
                                      QStringLiteral("camera.stopRunning.end running=false inputs=0")}));
}

TEST_F(MediaLogFile, RotatesOnlyAboveTheThresholdKeepingOnePreviousFile) {
    ASSERT_TRUE(tagsmith::base::writeFileAtomically(log.filePath(), QByteArray(MediaLog::kRotationThreshold, 'a')));
    ASSERT_TRUE(tagsmith::base::writeFileAtomically(log.previousFilePath(), "older"));
    logAndWait(QStringLiteral("audio.cleanup.begin"));
    EXPECT_EQ(read(log.previousFilePath()), QByteArray("older")) << "exactly at the threshold stays";

    const QByteArray full = read(log.filePath());
    logAndWait(QStringLiteral("audio.cleanup.end"));
    EXPECT_EQ(read(log.previousFilePath()), full);
    EXPECT_TRUE(read(log.filePath()).endsWith(" audio.cleanup.end\n"));
    EXPECT_EQ(read(log.filePath()).count('\n'), 1);
}

} // namespace

// A hardware queue drains in its destructor while the process exits, and its
// last tasks still log: the log must outlive the queues.
TEST(MediaRuntimeDeathTest, AHardwareTaskLoggingWhileTheProcessExitsEndsCleanly) {
    using tagsmith::inspection::media::MediaRuntime;
    QTemporaryDir state;
    const QByteArray savedState = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", state.path().toUtf8());
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto logLateThenExit = [] {
        MediaRuntime::queue().async([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            MediaRuntime::log(QStringLiteral("stopped"));
        });
        MediaRuntime::log(QStringLiteral("stopping"));
        std::exit(0);
    };
    EXPECT_EXIT(logLateThenExit(), testing::ExitedWithCode(0), "");
    qputenv("XDG_STATE_HOME", savedState);
}
