#pragma once

#include <QDir>
#include <QFile>

// What this process holds. Counted around an operation, growth shows a leak.
namespace tagsmith::test {

// What each open descriptor refers to ("socket:[…]", a path), for messages.
inline QStringList openDescriptors() {
    QStringList targets;
    const QDir descriptors(QStringLiteral("/dev/fd"));
    for (const QFileInfo& entry : descriptors.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        targets.append(entry.symLinkTarget());
    return targets;
}

inline int openDescriptorCount() {
    return int(openDescriptors().size());
}

// Resident memory in KiB, from /proc; 0 where there is none.
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
