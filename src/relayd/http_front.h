#pragma once

#include <QString>

#include <memory>

struct MHD_Daemon;

namespace tagsmith::relayd {

class RelayService;

// The relay's HTTP/1.1 side: POST requests with JSON bodies of at most 16 KiB,
// each on a thread of its own (an inbox may wait for its envelope), a bounded
// number of connections, and idle connections closed after a while. TLS is the
// business of the reverse proxy in front.
class HttpFront {
public:
    static constexpr qsizetype kMaxBodyBytes = 16384;

    // Listens on "HOST:PORT" ("[::1]:PORT" for IPv6; port 0 picks a free one);
    // null when the address is malformed or cannot be bound.
    static std::unique_ptr<HttpFront> start(RelayService& service, const QString& listen);
    ~HttpFront();
    HttpFront(const HttpFront&) = delete;
    HttpFront& operator=(const HttpFront&) = delete;

    quint16 port() const;

private:
    HttpFront(RelayService& service) : m_service(service) {}

    RelayService& m_service;
    MHD_Daemon* m_daemon = nullptr; // owned; stopped first in the destructor
};

} // namespace tagsmith::relayd
