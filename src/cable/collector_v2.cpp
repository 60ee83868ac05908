#include "cable/collector_v2.h"

#include "base/detached_thread.h"
#include "base/main_thread.h"
#include "cable/frames.h"
#include "cable/v1_sockets.h"
#include "cable/v2_exchange.h"

#include <sys/socket.h>

namespace tagsmith::cable {

std::shared_ptr<CollectorV2> CollectorV2::create() {
    return create(Timing{});
}

std::shared_ptr<CollectorV2> CollectorV2::create(Timing timing) {
    return std::shared_ptr<CollectorV2>(new CollectorV2(timing));
}

CollectorV2::CollectorV2(Timing timing) : m_timing(timing) {}

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
    // A listener whose accept failed for good is dropped too, so that it opens again below.
    m_cableListeners.removeIf(
        [&](const auto& listener) { return !wanted.contains(listener.key()) || !listener.value().loop->running(); });
}

bool CollectorV2::isListening(const CableLink& link) const {
    const auto listener = m_cableListeners.constFind(link);
    return listener != m_cableListeners.cend() && listener->loop->running();
}

void CollectorV2::shutDownClientsOutside(const QSet<CableLink>& wanted) {
    for (auto it = m_cableClients.cbegin(); it != m_cableClients.cend(); ++it) {
        if (!wanted.contains(it.value()))
            ::shutdown(it.key(), SHUT_RDWR); // the exchange then fails and closes the socket itself
    }
}

void CollectorV2::openListener(const CableLink& link, std::uint16_t port) {
    const std::uint64_t id = ++m_lastListenerId;
    if (std::shared_ptr<AcceptLoop> loop = AcceptLoop::start(listenOn(link, port), admission(link, id)))
        m_cableListeners.insert(link, {std::move(loop), id});
}

AcceptLoop::Serve CollectorV2::admission(const CableLink& link, std::uint64_t id) {
    return [server = weak_from_this(), link, id](base::OwnedFd connection) {
        const auto self = server.lock();
        return self && self->admit(link, id, std::move(connection));
    };
}

// Returns false once this listener is no longer the link's current one.
bool CollectorV2::admit(const CableLink& link, std::uint64_t id, base::OwnedFd connection) {
    {
        const std::lock_guard guard(m_lock);
        const auto listener = m_cableListeners.constFind(link);
        if (listener == m_cableListeners.cend() || listener->id != id)
            return false;
        if (!m_report || !m_slots.try_acquire())
            return true; // turned away: the connection closes at once
        m_cableClients.insert(connection.get(), link);
    }
    startExchange(std::move(connection));
    return true;
}

void CollectorV2::startExchange(base::OwnedFd connection) {
    // A thread task must be copyable, so the exchange holds its socket through a shared owner.
    auto socket = std::make_shared<base::OwnedFd>(std::move(connection));
    if (!base::runDetached([self = shared_from_this(), socket] { self->serve(*socket); }))
        finishExchange(*socket);
}

void CollectorV2::serve(base::OwnedFd& connection) {
    setSocketTimeouts(connection.get(), m_timing.socketTimeout);
    handle(connection.get(), std::nullopt);
    finishExchange(connection);
}

void CollectorV2::finishExchange(base::OwnedFd& connection) {
    {
        const std::lock_guard guard(m_lock);
        m_cableClients.remove(connection.get());
        connection.reset();
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
    if (client != m_cableClients.cend() && !isListening(*client))
        return std::nullopt; // the cable went away during the hellos
    if ((m_selected && *m_selected != deviceId) || !m_report)
        return std::nullopt;
    m_selected = deviceId;
    return m_report;
}

} // namespace tagsmith::cable
