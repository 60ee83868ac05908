#include "cable/collector_server.h"

#include "base/main_thread.h"
#include "cable/v1_sockets.h"

namespace tagsmith::cable {

std::shared_ptr<CollectorServer> CollectorServer::create(KeySource key, std::chrono::milliseconds allowance) {
    return std::shared_ptr<CollectorServer>(new CollectorServer(std::move(key), allowance));
}

CollectorServer::CollectorServer(KeySource key, std::chrono::milliseconds allowance)
    : m_key(std::move(key)), m_allowance(allowance) {}

void CollectorServer::setReport(std::optional<QByteArray> report) {
    const std::lock_guard guard(m_lock);
    m_data = std::move(report);
}

bool CollectorServer::start(std::uint16_t port) {
    sockaddr_in6 any{};
    any.sin6_family = AF_INET6;
    any.sin6_port = htons(port);
    any.sin6_addr = in6addr_any;
    const std::weak_ptr<CollectorServer> server = weak_from_this();
    m_listener = AcceptLoop::start(listenOn(any), [server](base::OwnedFd connection) {
        const auto self = server.lock();
        if (self)
            self->handle(connection.get());
        return self != nullptr;
    });
    return m_listener != nullptr;
}

void CollectorServer::stop() {
    m_listener.reset();
}

void CollectorServer::handle(int connection) {
    const auto key = m_key();
    if (!key)
        return;
    if (servePull(
            connection, *key, [this] { return takeReport(); }, m_allowance) &&
        onSent)
        base::onMain(onSent);
}

std::optional<QByteArray> CollectorServer::takeReport() {
    const std::lock_guard guard(m_lock);
    return m_data;
}

} // namespace tagsmith::cable
