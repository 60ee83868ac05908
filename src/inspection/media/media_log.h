#pragma once

#include <QString>

#include <functional>

namespace tagsmith::base {
class SerialQueue;
}

namespace tagsmith::inspection::media {

// The camera and audio event log: each event goes to the system log at once
// and as one time-stamped line to media.log in the folder, written on the
// log queue. Best effort: file errors are ignored.
class MediaLog {
public:
    // Above this size the file is moved aside before the next line.
    static constexpr qint64 kRotationThreshold = 524288;

    MediaLog(QString directory, base::SerialQueue& queue, std::function<void(const QString&)> systemLog);

    // Any thread.
    void write(const QString& message);

    QString filePath() const;
    QString previousFilePath() const;

private:
    QString m_directory;
    base::SerialQueue& m_queue;
    std::function<void(const QString&)> m_systemLog;
};

} // namespace tagsmith::inspection::media
