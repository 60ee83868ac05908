#include "inspection/media/media_log.h"

#include "base/serial_queue.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tagsmith::inspection::media {

namespace {

// One event, one line, whatever the message holds.
QString singleLine(QString message) {
    message.replace(QChar(u'\r'), QChar(u' '));
    message.replace(QChar(u'\n'), QChar(u' '));
    return message;
}

void rotateIfNeeded(const QString& file, const QString& previous) {
    if (QFileInfo(file).size() <= MediaLog::kRotationThreshold)
        return;
    QFile::remove(previous);
    QFile::rename(file, previous);
}

void append(const QString& directory, const QString& path, const QString& previous, const QByteArray& line) {
    if (!QDir().mkpath(directory))
        return;
    rotateIfNeeded(path, previous);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(line);
}

} // namespace

MediaLog::MediaLog(QString directory, base::SerialQueue& queue, std::function<void(const QString&)> systemLog)
    : m_directory(std::move(directory)), m_queue(queue), m_systemLog(std::move(systemLog)) {}

QString MediaLog::filePath() const {
    return m_directory + QStringLiteral("/media.log");
}

QString MediaLog::previousFilePath() const {
    return m_directory + QStringLiteral("/media.previous.log");
}

void MediaLog::write(const QString& message) {
    const QString event = singleLine(message);
    if (m_systemLog)
        m_systemLog(event);
    const QString stamp = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    const QByteArray line = (stamp + QChar(u' ') + event + QChar(u'\n')).toUtf8();
    m_queue.async([directory = m_directory, path = filePath(), previous = previousFilePath(), line] {
        append(directory, path, previous, line);
    });
}

} // namespace tagsmith::inspection::media
