#include "hostile/peer_crowd.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

namespace tagsmith::test {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kLongestPoll{50};

void sendNow(int socket, const QByteArray& bytes) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count =
            ::send(socket, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count <= 0)
            return; // the server stopped reading; the end of the connection will show
        sent += count;
    }
}

} // namespace

PeerCrowd::PeerCrowd(const QString& host, std::uint16_t port, const QList<PeerScript>& scripts) {
    m_peers.resize(std::size_t(scripts.size()));
    for (std::size_t i = 0; i < m_peers.size(); ++i)
        m_peers[i].script = scripts[qsizetype(i)];
    connectAll(host, port);
}

void PeerCrowd::connectAll(const QString& host, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const bool resolved =
        ::getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found) == 0;
    for (Peer& peer : m_peers) {
        if (resolved)
            peer.socket.reset(::socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        const int result = peer.socket ? ::connect(peer.socket.get(), found->ai_addr, found->ai_addrlen) : -1;
        if (result == 0)
            onConnected(peer);
        else if (!peer.socket || errno != EINPROGRESS)
            peer.ended = Clock::now();
    }
    if (resolved)
        ::freeaddrinfo(found);
}

void PeerCrowd::run(milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    while (step(deadline)) {
    }
}

bool PeerCrowd::step(Clock::time_point deadline) {
    std::vector<pollfd> entries;
    std::vector<Peer*> watched;
    for (Peer& peer : m_peers) {
        if (peer.ended)
            continue;
        entries.push_back({peer.socket.get(), short(POLLIN | (peer.connected ? 0 : POLLOUT)), 0});
        watched.push_back(&peer);
    }
    const Clock::time_point start = Clock::now();
    if (entries.empty() || start >= deadline)
        return false;
    const auto wait = std::min(kLongestPoll, std::chrono::duration_cast<milliseconds>(deadline - start));
    ::poll(entries.data(), nfds_t(entries.size()), int(wait.count()) + 1);
    const Clock::time_point now = Clock::now();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].revents & POLLOUT)
            onWritable(*watched[i]);
        if (entries[i].revents & (POLLIN | POLLHUP | POLLERR))
            onReadable(*watched[i], now);
        dripDue(*watched[i], now);
    }
    return true;
}

void PeerCrowd::onWritable(Peer& peer) {
    int error = 0;
    socklen_t length = sizeof error;
    ::getsockopt(peer.socket.get(), SOL_SOCKET, SO_ERROR, &error, &length);
    if (error == 0)
        onConnected(peer);
    else
        peer.ended = Clock::now();
}

void PeerCrowd::onConnected(Peer& peer) {
    peer.connected = true;
    sendNow(peer.socket.get(), peer.script.first);
}

void PeerCrowd::onReadable(Peer& peer, Clock::time_point now) {
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::recv(peer.socket.get(), buffer, sizeof buffer, MSG_DONTWAIT);
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (count <= 0) {
            peer.ended = now;
            return;
        }
        if (!peer.served) {
            peer.served = now;
            peer.nextDrip = now + peer.script.dripInterval;
            sendNow(peer.socket.get(), peer.script.opening);
        }
    }
}

void PeerCrowd::dripDue(Peer& peer, Clock::time_point now) {
    if (!peer.served || peer.ended || peer.dripped >= peer.script.drip.size() || now < peer.nextDrip)
        return;
    sendNow(peer.socket.get(), peer.script.drip.sliced(peer.dripped++, 1));
    peer.nextDrip = now + peer.script.dripInterval;
}

int PeerCrowd::endedCount() const {
    return int(std::count_if(m_peers.begin(), m_peers.end(), [](const Peer& peer) { return peer.ended.has_value(); }));
}

int PeerCrowd::servedCount() const {
    return int(std::count_if(m_peers.begin(), m_peers.end(), [](const Peer& peer) { return peer.served.has_value(); }));
}

int PeerCrowd::mostServedAtOnce() const {
    // An end seen in the same poll round as another peer's start came first:
    // the server closes a connection before it frees that connection's slot.
    std::vector<std::pair<Clock::time_point, int>> changes;
    for (const Peer& peer : m_peers) {
        if (!peer.served)
            continue;
        changes.emplace_back(*peer.served, +1);
        if (peer.ended)
            changes.emplace_back(*peer.ended, -1);
    }
    std::sort(changes.begin(), changes.end());
    int current = 0;
    int most = 0;
    for (const auto& change : changes) {
        current += change.second;
        most = std::max(most, current);
    }
    return most;
}

milliseconds PeerCrowd::longestService() const {
    milliseconds longest{0};
    for (const Peer& peer : m_peers) {
        if (peer.served)
            longest = std::max(
                longest, std::chrono::duration_cast<milliseconds>(peer.ended.value_or(Clock::now()) - *peer.served));
    }
    return longest;
}

} // namespace tagsmith::test
