#include "support/http_test_server.h"

#include "cable/frames.h"
#include "cable/socket_options.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <optional>

namespace tagsmith::test {

namespace {

constexpr int kIoTimeoutMs = 5000;
constexpr qsizetype kMaxHeaderBytes = 64 * 1024;
constexpr qsizetype kMaxBodyBytes = 4 * 1024 * 1024;

bool readable(int fd, int timeoutMs) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}

// Appends what arrives until complete() holds; false on silence, end or error.
bool readUntil(int fd, QByteArray& buffer, const std::function<bool()>& complete) {
    char chunk[4096];
    while (!complete()) {
        if (!readable(fd, kIoTimeoutMs))
            return false;
        const ssize_t count = ::recv(fd, chunk, sizeof chunk, 0);
        if (count <= 0)
            return false;
        buffer.append(chunk, count);
    }
    return true;
}

qsizetype contentLength(const QByteArray& head) {
    for (const QByteArray& line : head.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.first(colon).trimmed().toLower() == "content-length")
            return line.sliced(colon + 1).trimmed().toLongLong();
    }
    return 0;
}

std::optional<HttpRequest> readRequest(int fd) {
    QByteArray buffer;
    if (!readUntil(fd, buffer, [&] { return buffer.contains("\r\n\r\n") || buffer.size() > kMaxHeaderBytes; }))
        return std::nullopt;
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return std::nullopt;
    const QByteArray head = buffer.first(headEnd);
    const qsizetype length = contentLength(head);
    const qsizetype bodyStart = headEnd + 4;
    if (length < 0 || length > kMaxBodyBytes ||
        !readUntil(fd, buffer, [&] { return buffer.size() >= bodyStart + length; }))
        return std::nullopt;
    const QList<QByteArray> requestLine = head.split('\n').first().trimmed().split(' ');
    if (requestLine.size() != 3)
        return std::nullopt;
    return HttpRequest{requestLine[0], requestLine[1], buffer.sliced(bodyStart, length)};
}

QByteArray replyHead(const HttpReply& reply) {
    QByteArray bytes = "HTTP/1.1 " + QByteArray::number(reply.status) + " Test\r\n";
    bytes += "Content-Type: application/json\r\nConnection: close\r\n";
    if (!reply.pieces)
        bytes += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    for (const QByteArray& header : reply.headers)
        bytes += header + "\r\n";
    return bytes + "\r\n";
}

base::OwnedFd listenOnLoopback(quint16* port) {
    base::OwnedFd listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (!listener || ::bind(listener.get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener.get(), 16) != 0 ||
        ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return {};
    *port = ntohs(address.sin_port);
    return listener;
}

} // namespace

HttpTestServer::HttpTestServer(Handler handler)
    : m_handler(std::move(handler)), m_listener(listenOnLoopback(&m_port)), m_thread([this] { serve(); }) {}

HttpTestServer::~HttpTestServer() {
    {
        const std::lock_guard lock(m_lock);
        m_stopping = true;
    }
    m_stopSignal.notify_all();
    m_thread.join();
}

QString HttpTestServer::baseUrl() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

void HttpTestServer::serve() {
    while (!m_stopping) {
        if (!readable(m_listener.get(), 20))
            continue;
        base::OwnedFd connection(::accept4(m_listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!connection)
            continue;
        cable::preventSigpipe(connection.get());
        m_connections.emplace_back([this, fd = std::move(connection)]() mutable { answer(std::move(fd)); });
    }
    for (std::thread& connection : m_connections)
        connection.join();
}

void HttpTestServer::answer(base::OwnedFd connection) {
    const std::optional<HttpRequest> request = readRequest(connection.get());
    if (!request)
        return;
    const HttpReply reply = m_handler(*request);
    if (!pause(reply.delay) || reply.hangUp)
        return;
    if (reply.pieces)
        stream(connection.get(), reply);
    else
        (void)cable::sendAll(connection.get(), replyHead(reply) + reply.body); // the client may stop reading
}

void HttpTestServer::stream(int connection, const HttpReply& reply) {
    if (!cable::sendAll(connection, replyHead(reply)))
        return;
    while (pause(reply.pieceDelay)) {
        const std::optional<QByteArray> piece = reply.pieces();
        if (!piece || !cable::sendAll(connection, *piece))
            return;
    }
}

bool HttpTestServer::pause(std::chrono::milliseconds duration) {
    std::unique_lock lock(m_lock);
    return !m_stopSignal.wait_for(lock, duration, [this] { return m_stopping.load(); });
}

} // namespace tagsmith::test
