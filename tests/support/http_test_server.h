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
#include <thread>

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
};

// A plain HTTP/1.1 server on 127.0.0.1 with one connection at a time, each
// closed after its answer. The handler runs on the server's thread.
class HttpTestServer {
public:
    using Handler = std::function<HttpReply(const HttpRequest&)>;

    explicit HttpTestServer(Handler handler);
    ~HttpTestServer();

    QString baseUrl() const; // "http://127.0.0.1:PORT"

private:
    void serve();
    void answer(base::OwnedFd connection);
    bool pause(std::chrono::milliseconds duration); // false when stopping

    Handler m_handler;
    base::OwnedFd m_listener;
    quint16 m_port = 0;
    std::atomic<bool> m_stopping = false;
    std::mutex m_lock;
    std::condition_variable m_stopSignal;
    std::thread m_thread;
};

} // namespace tagsmith::test
