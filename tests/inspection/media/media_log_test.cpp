#include "inspection/media/media_log.h"

#include "base/serial_queue.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using tagsmith::base::SerialQueue;
using tagsmith::inspection::media::MediaLog;

namespace {

class MediaLogFile : public testing::Test {
protected:
    QByteArray read(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QString& path, const QByteArray& content) const {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    // Writes the message and waits until the log queue has written it.
    void logAndWait(const QString& message) {
        bool written = false;
        log.write(message);
        queue.drain([&written] { written = true; });
        ASSERT_TRUE(tagsmith::test::waitUntil([&written] { return written; }));
    }

    QTemporaryDir home;
    QString directory = home.path() + QStringLiteral("/Library/Logs/Lintwell");
    SerialQueue queue{QStringLiteral("test.media-log")};
    QStringList systemLog;
    MediaLog log{directory, queue, [this](const QString& message) { systemLog.append(message); }};
};

TEST_F(MediaLogFile, WritesOneTimeStampedLinePerEventAndTheSystemLogToo) {
    logAndWait(QStringLiteral("camera.startRunning.begin"));
    logAndWait(QStringLiteral("camera.stopRunning.end running=false\ninputs=0"));
    const QList<QByteArray> lines = read(log.filePath()).split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[2].isEmpty());
    const QRegularExpression stamped(QRegularExpression::anchoredPattern(
        QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ camera\\.startRunning\\.begin")));
    EXPECT_TRUE(stamped.match(QString::fromUtf8(lines[0])).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(" camera.stopRunning.end running=false inputs=0"));
    EXPECT_EQ(systemLog, QStringList({QStringLiteral("camera.startRunning.begin"),
                                      QStringLiteral("camera.stopRunning.end running=false inputs=0")}));
}

TEST_F(MediaLogFile, RotatesOnlyAboveTheThresholdKeepingOnePreviousFile) {
    ASSERT_TRUE(QDir().mkpath(directory));
    const QByteArray atThreshold(MediaLog::kRotationThreshold, 'a');
    write(log.filePath(), atThreshold);
    write(log.previousFilePath(), "older");
    logAndWait(QStringLiteral("audio.cleanup.begin"));
    EXPECT_EQ(read(log.previousFilePath()), QByteArray("older")) << "exactly at the threshold stays";
    EXPECT_GT(read(log.filePath()).size(), MediaLog::kRotationThreshold);

    const QByteArray full = read(log.filePath());
    logAndWait(QStringLiteral("audio.cleanup.end"));
    EXPECT_EQ(read(log.previousFilePath()), full);
    EXPECT_TRUE(read(log.filePath()).endsWith(" audio.cleanup.end\n"));
    EXPECT_EQ(read(log.filePath()).count('\n'), 1);
}

TEST_F(MediaLogFile, UnwritableFolderIsIgnored) {
    write(home.path() + QStringLiteral("/Library"), "a file where the folder belongs");
    logAndWait(QStringLiteral("audio.routes.begin"));
    EXPECT_FALSE(QFile::exists(log.filePath()));
    EXPECT_EQ(systemLog, QStringList{QStringLiteral("audio.routes.begin")});
}

} // namespace
