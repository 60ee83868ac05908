#include "relayd/http_front.h"

#include "relayd/relay_service.h"

#include <QJsonDocument>

#include <microhttpd.h>

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <optional>

namespace tagsmith::relayd {

namespace {

constexpr unsigned kMaxConnections = 512;
constexpr unsigned kIdleSeconds = 10;
constexpr size_t kThreadStackBytes = 256 * 1024;

// One request's body as it arrives.
struct Upload {
    QByteArray body;
    bool tooLarge = false;
};

std::optional<sockaddr_storage> listenAddress(const QString& listen) {
    const qsizetype colon = listen.lastIndexOf(u':');
    bool portValid = false;
    const uint port = colon > 0 ? listen.mid(colon + 1).toUInt(&portValid) : 0;
    QString host = listen.left(colon);
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    if (!portValid || port > 65535)
        return std::nullopt;
    sockaddr_storage address{};
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
    if (inet_pton(AF_INET, host.toLatin1().constData(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(quint16(port));
    } else if (inet_pton(AF_INET6, host.toLatin1().constData(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(quint16(port));
    } else {
        return std::nullopt;
    }
    return address;
}

QString peerAddress(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    char text[INET6_ADDRSTRLEN] = {};
    const sockaddr* peer = info ? info->client_addr : nullptr;
    if (peer && peer->sa_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(peer)->sin_addr, text, sizeof text);
    else if (peer && peer->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(peer)->sin6_addr, text, sizeof text);
    return QString::fromLatin1(text);
}

// Behind the reverse proxy on the same machine, the client is the one the
// proxy names; a header from anywhere else is not believed.
QString clientAddress(MHD_Connection* connection) {
    const QString peer = peerAddress(connection);
    const char* forwarded = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "X-Real-IP");
    const bool fromProxy = peer == QLatin1String("127.0.0.1") || peer == QLatin1String("::1");
    return fromProxy && forwarded ? QString::fromLatin1(forwarded).trimmed() : peer;
}

MHD_Result answer(MHD_Connection* connection, const RelayReply& reply) {
    const QByteArray body = QJsonDocument(reply.body).toJson(QJsonDocument::Compact);
    MHD_Response* response = MHD_create_response_from_buffer(size_t(body.size()), const_cast<char*>(body.constData()),
                                                             MHD_RESPMEM_MUST_COPY);
    if (!response)
        return MHD_NO;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, "application/json");
    const MHD_Result queued = MHD_queue_response(connection, unsigned(reply.status), response);
    MHD_destroy_response(response);
    return queued;
}

RelayReply refusal(int status, const QString& text) {
    return {status, {{QStringLiteral("error"), text}}};
}

bool declaresTooLarge(MHD_Connection* connection) {
    const char* length = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    return length &&
           (std::strlen(length) > 9 || std::strtoull(length, nullptr, 10) > quint64(HttpFront::kMaxBodyBytes));
}

MHD_Result onRequest(void* context, MHD_Connection* connection, const char* url, const char* method, const char*,
                     const char* data, size_t* dataSize, void** requestState) {
    auto* upload = static_cast<Upload*>(*requestState);
    if (!upload) {
        if (std::strcmp(method, MHD_HTTP_METHOD_POST) != 0)
            return answer(connection, refusal(405, QStringLiteral("只接受 POST 请求")));
        if (declaresTooLarge(connection))
            return answer(connection, refusal(413, QStringLiteral("请求内容过大")));
        *requestState = new Upload;
        return MHD_YES;
    }
    if (*dataSize > 0) {
        // A body without a declared length is read to its end but not kept beyond the limit.
        upload->tooLarge = upload->tooLarge || upload->body.size() + qsizetype(*dataSize) > HttpFront::kMaxBodyBytes;
        if (!upload->tooLarge)
            upload->body.append(data, qsizetype(*dataSize));
        *dataSize = 0;
        return MHD_YES;
    }
    if (upload->tooLarge)
        return answer(connection, refusal(413, QStringLiteral("请求内容过大")));
    auto& service = *static_cast<RelayService*>(context);
    return answer(connection, service.handle(QByteArray(url), upload->body, clientAddress(connection)));
}

void onCompleted(void*, MHD_Connection*, void** requestState, MHD_RequestTerminationCode) {
    delete static_cast<Upload*>(*requestState);
    *requestState = nullptr;
}

} // namespace

std::unique_ptr<HttpFront> HttpFront::start(RelayService& service, const QString& listen) {
    const std::optional<sockaddr_storage> address = listenAddress(listen);
    if (!address)
        return nullptr;
    std::unique_ptr<HttpFront> front(new HttpFront(service));
    const unsigned flags = MHD_USE_THREAD_PER_CONNECTION | MHD_USE_INTERNAL_POLLING_THREAD |
                           (address->ss_family == AF_INET6 ? MHD_USE_IPv6 : 0);
    front->m_daemon =
        MHD_start_daemon(flags, 0, nullptr, nullptr, onRequest, &service, MHD_OPTION_SOCK_ADDR,
                         reinterpret_cast<const sockaddr*>(&*address), MHD_OPTION_CONNECTION_LIMIT, kMaxConnections,
                         MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds, MHD_OPTION_THREAD_STACK_SIZE, kThreadStackBytes,
                         MHD_OPTION_NOTIFY_COMPLETED, onCompleted, nullptr, MHD_OPTION_END);
    return front->m_daemon ? std::move(front) : nullptr;
}

HttpFront::~HttpFront() {
    m_service.stop();
    MHD_stop_daemon(m_daemon);
}

quint16 HttpFront::port() const {
    const MHD_DaemonInfo* info = MHD_get_daemon_info(m_daemon, MHD_DAEMON_INFO_BIND_PORT);
    return info ? info->port : 0;
}

} // namespace tagsmith::relayd
