#pragma once

#include <QHash>
#include <QString>

#include <mutex>

namespace tagsmith::relayd {

// How many code lookups one client address may make: a bucket of perMinute
// lookups per address, refilled evenly over the minute. Five digits are few,
// so this is what stands between a guesser and someone else's report.
class ResolveLimiter {
public:
    explicit ResolveLimiter(int perMinute) : m_perMinute(perMinute) {}

    // Takes one lookup from the address's bucket; false when it is empty.
    bool allow(const QString& address, qint64 nowMs);

private:
    struct Bucket {
        double lookups = 0;
        qint64 updatedMs = 0;
    };
    double refilled(const Bucket& bucket, qint64 nowMs) const;
    void forgetFullBuckets(qint64 nowMs);

    const int m_perMinute;
    std::mutex m_lock;
    QHash<QString, Bucket> m_buckets; // guarded by m_lock
};

// The address a limit applies to: an IPv6 client controls its whole /64, so
// that is what counts as one address.
QString limitedAddress(const QString& address);

} // namespace tagsmith::relayd
