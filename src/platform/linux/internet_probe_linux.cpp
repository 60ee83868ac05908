#include "platform/linux/internet_probe_linux.h"

#include "base/main_thread.h"

#include <curl/curl.h>

#include <atomic>
#include <mutex>
#include <thread>

namespace tagsmith::inspection::wireless {

namespace {

struct Attempt {
    std::atomic<bool> cancelled{false};
    std::function<void(const ProbeOutcome&)> onOutcome; // main thread only
};

class CurlConnection final : public ProbeConnection {
public:
    explicit CurlConnection(std::shared_ptr<Attempt> attempt) : m_attempt(std::move(attempt)) {}
    ~CurlConnection() override {
        m_attempt->cancelled = true;
        m_attempt->onOutcome = nullptr;
    }

private:
    std::shared_ptr<Attempt> m_attempt;
};

int abortWhenCancelled(void* attempt, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Attempt*>(attempt)->cancelled ? 1 : 0;
}

QString describe(CURLcode code) {
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("无法解析服务器地址，可能未联网或域名解析不可用");
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("无法连接服务器");
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("连接超时");
    case CURLE_INTERFACE_FAILED:
        return QStringLiteral("无法经由 Wi-Fi 接口发出连接");
    case CURLE_PEER_FAILED_VERIFICATION:
        return QStringLiteral("服务器证书未通过验证，可能被认证页拦截");
    case CURLE_SSL_CONNECT_ERROR:
        return QStringLiteral("安全连接握手失败");
    default:
        return QStringLiteral("网络错误（代码 %1）").arg(int(code));
    }
}

ProbeOutcome handshake(const TlsEndpoint& endpoint, const QByteArray& interfaceOption, std::chrono::milliseconds limit,
                       Attempt& attempt) {
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        return {false, describe(CURLE_FAILED_INIT)};
    const QByteArray url = QStringLiteral("https://%1:%2/").arg(endpoint.host).arg(endpoint.port).toUtf8();
    const QByteArray caFile = endpoint.caFile.toUtf8();
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.constData());
    curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl.get(), CURLOPT_CONNECT_ONLY, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_INTERFACE, interfaceOption.constData());
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT_MS, long(limit.count()));
    curl_easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, abortWhenCancelled);
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFODATA, &attempt);
    if (!caFile.isEmpty())
        curl_easy_setopt(curl.get(), CURLOPT_CAINFO, caFile.constData());
    const CURLcode code = curl_easy_perform(curl.get());
    return code == CURLE_OK ? ProbeOutcome{true, {}} : ProbeOutcome{false, describe(code)};
}

} // namespace

CurlInternetProbe::CurlInternetProbe(TlsEndpoint endpoint, std::chrono::milliseconds connectLimit)
    : m_endpoint(std::move(endpoint)), m_connectLimit(connectLimit) {}

std::unique_ptr<ProbeConnection> CurlInternetProbe::open(const QString& wifiInterfaceName,
                                                         std::function<void(const ProbeOutcome&)> onOutcome) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    auto attempt = std::make_shared<Attempt>();
    attempt->onOutcome = std::move(onOutcome);
    // "if!" makes curl take the name as an interface, never as a host or address.
    const QByteArray interfaceOption = "if!" + wifiInterfaceName.toUtf8();
    std::thread([attempt, endpoint = m_endpoint, interfaceOption, limit = m_connectLimit] {
        const ProbeOutcome outcome = handshake(endpoint, interfaceOption, limit, *attempt);
        base::onMain([attempt, outcome] {
            // A copy: the handler may destroy the connection, which clears the original.
            if (const std::function<void(const ProbeOutcome&)> onOutcome = attempt->onOutcome;
                onOutcome && !attempt->cancelled)
                onOutcome(outcome);
        });
    }).detach();
    return std::make_unique<CurlConnection>(attempt);
}

std::shared_ptr<InternetProbe> makeSystemInternetProbe() {
    return std::make_shared<CurlInternetProbe>(TlsEndpoint{kPublicHttpsHost, 443, {}});
}

} // namespace tagsmith::inspection::wireless
