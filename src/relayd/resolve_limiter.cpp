#include "relayd/resolve_limiter.h"

#include <algorithm>

#include <arpa/inet.h>

namespace tagsmith::relayd {

namespace {

constexpr double kMinuteMs = 60000;
// Beyond this many addresses, those whose bucket is full again are forgotten,
// so that a crowd of addresses cannot grow the table without end.
constexpr qsizetype kMaxRemembered = 100000;

} // namespace

bool ResolveLimiter::allow(const QString& address, qint64 nowMs) {
    std::lock_guard lock(m_lock);
    if (m_buckets.size() >= kMaxRemembered)
        forgetFullBuckets(nowMs);
    const auto found = m_buckets.constFind(address);
    Bucket bucket{found == m_buckets.cend() ? double(m_perMinute) : refilled(*found, nowMs), nowMs};
    if (bucket.lookups < 1)
        return false;
    bucket.lookups -= 1;
    m_buckets.insert(address, bucket);
    return true;
}

double ResolveLimiter::refilled(const Bucket& bucket, qint64 nowMs) const {
    const double earned = double(std::max<qint64>(0, nowMs - bucket.updatedMs)) * m_perMinute / kMinuteMs;
    return std::min(double(m_perMinute), bucket.lookups + earned);
}

void ResolveLimiter::forgetFullBuckets(qint64 nowMs) {
    m_buckets.removeIf([&](const auto& entry) { return refilled(entry.value(), nowMs) >= m_perMinute; });
}

QString limitedAddress(const QString& address) {
    in6_addr bytes{};
    if (inet_pton(AF_INET6, address.toLatin1().constData(), &bytes) != 1 || IN6_IS_ADDR_V4MAPPED(&bytes))
        return address;
    std::fill(bytes.s6_addr + 8, bytes.s6_addr + 16, 0);
    char text[INET6_ADDRSTRLEN] = {};
    inet_ntop(AF_INET6, &bytes, text, sizeof text);
    return QString::fromLatin1(text) + QStringLiteral("/64");
}

} // namespace tagsmith::relayd
