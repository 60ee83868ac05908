#include "relay/transport_error.h"

#include <curl/curl.h>

#include <cerrno>

namespace tagsmith::relay {

namespace {

bool isTlsFailure(int code) {
    switch (code) {
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_USE_SSL_FAILED:
        return true;
    default:
        return false;
    }
}

bool isUnreachable(long systemErrorNumber) {
    return systemErrorNumber == ENETUNREACH || systemErrorNumber == EHOSTUNREACH || systemErrorNumber == ENETDOWN;
}

QString describe(int code, long systemErrorNumber) {
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return QStringLiteral("未能找到使用指定主机名的服务器。");
    case CURLE_COULDNT_CONNECT:
        return isUnreachable(systemErrorNumber) ? QStringLiteral("似乎已断开与互联网的连接。")
                                                : QStringLiteral("未能连接到服务器。");
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("请求超时。");
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
        return QStringLiteral("网络连接已中断。");
    default:
        return isTlsFailure(code) ? QStringLiteral("发生了 SSL 错误，无法建立与该服务器的安全连接。")
                                  : QStringLiteral("网络请求失败。");
    }
}

} // namespace

Error transportError(int curlCode, long systemErrorNumber) {
    if (curlCode == CURLE_ABORTED_BY_CALLBACK)
        return cancelledError();
    return {kTransportErrorDomain, curlCode,
            QStringLiteral("%1（网络错误 %2）").arg(describe(curlCode, systemErrorNumber)).arg(curlCode)};
}

Error cancelledError() {
    return {kTransportErrorDomain, CURLE_ABORTED_BY_CALLBACK, QStringLiteral("已取消")};
}

bool isCancellation(const Error& error) {
    return error.domain == kTransportErrorDomain && error.code == CURLE_ABORTED_BY_CALLBACK;
}

} // namespace tagsmith::relay
