#pragma once

#include "base/owned_fd.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tagsmith::test {

struct HttpRequest {
    QByteArray method;
    QByteArray path;
    QByteArray body;
};

struct HttpReply {
    int status = 200;
    QByteArray body;
    QList<QByteArray> headers;          // extra header lines, e.g. "Location: /elsewhere"
    std::chrono::milliseconds delay{0}; // before answering; ends early when the server stops
    bool hangUp = false;                // close without any answer, as a broken connection would
    // Instead of body: the head goes out without a length, then each piece the
    // generator gives, pieceDelay before each, until it gives none, the client
    // stops reading or the server stops. For answers that trickle or never end.
    std::function<std::optional<QByteArray>()> pieces{};
    std::chrono::milliseconds pieceDelay{0};
};

// A plain HTTP/1.1 server on 127.0.0.1 that closes each connection after its
// answer. Each connection has a thread of its own, so a slow answer does not
// hold up the next request; the handler must be safe to call from any of them.
class HttpTestServer {
public:
    using Handler = std::function<HttpReply(const HttpRequest&)>;

    explicit HttpTestServer(Handler handler);
    ~HttpTestServer();

    QString baseUrl() const; // "http://127.0.0.1:PORT"

private:
    void serve();
    void answer(base::OwnedFd connection);
    void stream(int connection, const HttpReply& reply);
    bool pause(std::chrono::milliseconds duration); // false when stopping

    Handler m_handler;
    quint16 m_port = 0; // before m_listener, whose initialisation sets it
    base::OwnedFd m_listener;
    std::atomic<bool> m_stopping = false;
    std::mutex m_lock;
    std::condition_variable m_stopSignal;
    std::vector<std::thread> m_connections; // touched only by m_thread
    std::thread m_thread;
};

} // namespace tagsmith::test
