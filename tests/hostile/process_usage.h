#pragma once

#include <QDir>
#include <QFile>

// What this process holds, from /proc. The attacks run in one program of their
// own, so growth between two readings is theirs.
namespace tagsmith::test {

inline int openDescriptorCount() {
    return int(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

// Resident memory in KiB; 0 when unknown.
inline qint64 residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

} // namespace tagsmith::test
