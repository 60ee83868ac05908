#pragma once

#include "base/owned_fd.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace tagsmith::test {

// What one hostile peer does once the server has spoken to it.
struct PeerScript {
    QByteArray opening{}; // sent as soon as the first byte arrives
    QByteArray drip{};    // then one byte of this per dripInterval
    std::chrono::milliseconds dripInterval{200};
    QByteArray first{}; // sent once connected, for protocols where the client speaks first
};

// Many TCP connections to one listener at once, driven and watched from one
// poll loop: when the server first spoke to each, and when it ended each. The
// connections are opened from the calling thread, so from its network namespace.
class PeerCrowd {
public:
    using Clock = std::chrono::steady_clock;

    PeerCrowd(const QString& host, std::uint16_t port, const QList<PeerScript>& scripts);

    // Until the server has ended every connection, or the limit passes.
    void run(std::chrono::milliseconds limit);

    int size() const { return int(m_peers.size()); }
    int endedCount() const;
    int servedCount() const; // the server spoke to them: it took them into an exchange
    int mostServedAtOnce() const;
    // The longest time from the server's first byte to its end of a connection.
    std::chrono::milliseconds longestService() const;

private:
    struct Peer {
        base::OwnedFd socket;
        PeerScript script;
        bool connected = false;
        qsizetype dripped = 0;
        std::optional<Clock::time_point> served;
        std::optional<Clock::time_point> ended;
        Clock::time_point nextDrip;
    };

    void connectAll(const QString& host, std::uint16_t port);
    bool step(Clock::time_point deadline);
    void onWritable(Peer& peer);
    static void onConnected(Peer& peer);
    void onReadable(Peer& peer, Clock::time_point now);
    void dripDue(Peer& peer, Clock::time_point now);

    std::vector<Peer> m_peers; // not copyable: each owns its socket
};

} // namespace tagsmith::test
