#include "cable/collector_v2.h"

#include "base/detached_thread.h"
#include "base/main_thread.h"
#include "cable/frames.h"
#include "cable/v2_exchange.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tagsmith::cable {

namespace {

constexpr int kListenBacklog = 4;

// Shutting down first is what wakes a thread blocked in accept() on Linux.
void shutDownAndClose(int socket) {
    ::shutdown(socket, SHUT_RDWR);
    ::close(socket);
}

bool setFlag(int socket, int level, int option) {
    const int one = 1;
    return ::setsockopt(socket, level, option, &one, sizeof one) == 0;
}

bool bindAndListen(int socket, const CableLink& link, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = link.family;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* resolved = nullptr;
    if (::getaddrinfo(link.address.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &resolved) != 0)
        return false;
    const bool bound = ::bind(socket, resolved->ai_addr, resolved->ai_addrlen) == 0;
    ::freeaddrinfo(resolved);
    return bound && ::listen(socket, kListenBacklog) == 0;
}

} // namespace

std::shared_ptr<CollectorV2> CollectorV2::create() {
    return create(Timing{});
}

std::shared_ptr<CollectorV2> CollectorV2::create(Timing timing) {
    return std::shared_ptr<CollectorV2>(new CollectorV2(timing));
}

CollectorV2::CollectorV2(Timing timing) : m_timing(timing) {}

CollectorV2::~CollectorV2() {
    // Exchanges hold the server while they run, so only listeners can be left.
    for (const int listener : std::as_const(m_cableListeners))
        shutDownAndClose(listener);
}

void CollectorV2::setReport(std::optional<QByteArray> report) {
    const std::lock_guard guard(m_lock);
    m_report = std::move(report);
}

void CollectorV2::stop() {
    updateCableListeners({}, kV2Port);
}

void CollectorV2::updateCableListeners(const QList<CableLink>& links, std::uint16_t port) {
    const QSet<CableLink> wanted(links.begin(), links.end());
    const std::lock_guard guard(m_lock);
    closeListenersOutside(wanted);
    shutDownClientsOutside(wanted);
    for (const CableLink& link : wanted) {
        if (!m_cableListeners.contains(link))
            openListener(link, port);
    }
}

void CollectorV2::closeListenersOutside(const QSet<CableLink>& wanted) {
    for (auto it = m_cableListeners.begin(); it != m_cableListeners.end();) {
        if (wanted.contains(it.key())) {
            ++it;
            continue;
        }
        shutDownAndClose(it.value());
        it = m_cableListeners.erase(it);
    }
}

void CollectorV2::shutDownClientsOutside(const QSet<CableLink>& wanted) {
    for (auto it = m_cableClients.cbegin(); it != m_cableClients.cend(); ++it) {
        if (!wanted.contains(it.value()))
            ::shutdown(it.key(), SHUT_RDWR); // the exchange then fails and closes the socket itself
    }
}

void CollectorV2::openListener(const CableLink& link, std::uint16_t port) {
    const int listener = ::socket(link.family, SOCK_STREAM, 0);
    if (listener < 0)
        return;
    const bool ready = setFlag(listener, SOL_SOCKET, SO_REUSEADDR) &&
                       (link.family != AF_INET6 || setFlag(listener, IPPROTO_IPV6, IPV6_V6ONLY)) &&
                       link.bindSocket(listener) && bindAndListen(listener, link, port);
    if (!ready) {
        ::close(listener);
        return;
    }
    m_cableListeners.insert(link, listener);
    const std::weak_ptr<CollectorV2> server = weak_from_this();
    if (!base::runDetached([server, link, listener] { acceptLoop(server, link, listener); })) {
        m_cableListeners.remove(link);
        shutDownAndClose(listener);
    }
}

void CollectorV2::acceptLoop(const std::weak_ptr<CollectorV2>& server, const CableLink& link, int listener) {
    for (;;) {
        // Checked before each accept too: a listener closed meanwhile may already carry a new socket's number.
        if (const auto self = server.lock(); !self || !self->isCurrent(link, listener))
            return;
        const int connection = ::accept(listener, nullptr, nullptr);
        const auto self = server.lock();
        if (!self) {
            if (connection >= 0)
                ::close(connection);
            return;
        }
        if (connection < 0) {
            self->dropFailedListener(link, listener);
            return;
        }
        const Admission admission = self->admit(link, listener, connection);
        if (admission == Admission::End)
            return;
        if (admission == Admission::Serve)
            self->startExchange(connection);
    }
}

bool CollectorV2::isCurrent(const CableLink& link, int listener) {
    const std::lock_guard guard(m_lock);
    return m_cableListeners.value(link, -1) == listener;
}

void CollectorV2::dropFailedListener(const CableLink& link, int listener) {
    // A listener that failed while still current (not closed by an update)
    // would otherwise stay in the map without an accept loop, and the link
    // would stay deaf until unplugged. Dropping it lets the next refresh reopen it.
    const std::lock_guard guard(m_lock);
    if (m_cableListeners.value(link, -1) != listener)
        return;
    m_cableListeners.remove(link);
    shutDownAndClose(listener);
}

CollectorV2::Admission CollectorV2::admit(const CableLink& link, int listener, int connection) {
    const std::lock_guard guard(m_lock);
    const bool current = m_cableListeners.value(link, -1) == listener;
    if (!m_report || !current) {
        ::close(connection);
        return current ? Admission::Skip : Admission::End;
    }
    if (!m_slots.try_acquire()) {
        ::close(connection);
        return Admission::Skip;
    }
    m_cableClients.insert(connection, link);
    return Admission::Serve;
}

void CollectorV2::startExchange(int connection) {
    if (!base::runDetached([self = shared_from_this(), connection] { self->serve(connection); }))
        finishExchange(connection);
}

void CollectorV2::serve(int connection) {
    setSocketTimeouts(connection, m_timing.socketTimeout);
    handle(connection, std::nullopt);
    finishExchange(connection);
}

void CollectorV2::finishExchange(int connection) {
    {
        const std::lock_guard guard(m_lock);
        m_cableClients.remove(connection);
        ::close(connection);
    }
    m_slots.release();
}

bool CollectorV2::handle(int connection, const std::optional<QString>& expectedDeviceId) {
    const bool sent = serveV2Exchange(connection, m_timing.exchange, expectedDeviceId,
                                      [&](const QString& deviceId) { return takeReport(connection, deviceId); });
    if (sent && onSent)
        base::onMain(onSent);
    return sent;
}

std::optional<QByteArray> CollectorV2::takeReport(int connection, const QString& deviceId) {
    const std::lock_guard guard(m_lock);
    const auto client = m_cableClients.constFind(connection);
    if (client != m_cableClients.cend() && !m_cableListeners.contains(client.value()))
        return std::nullopt; // the cable went away during the hellos
    if ((m_selected && *m_selected != deviceId) || !m_report)
        return std::nullopt;
    m_selected = deviceId;
    return m_report;
}

} // namespace tagsmith::cable
