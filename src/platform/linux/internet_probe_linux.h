#pragma once

#include "inspection/wireless/internet_probe.h"

#include <chrono>

namespace tagsmith::inspection::wireless {

struct TlsEndpoint {
    QString host;
    int port = 443;
    QString caFile; // certificates to trust instead of the system's; empty for the system's
};

// One TLS handshake through libcurl, bound to the Wi-Fi interface by name, on
// a worker thread of its own. Nothing is sent after the handshake.
class CurlInternetProbe final : public InternetProbe {
public:
    explicit CurlInternetProbe(TlsEndpoint endpoint, std::chrono::milliseconds connectLimit = std::chrono::seconds(20));

    std::unique_ptr<ProbeConnection> open(const QString& wifiInterfaceName,
                                          std::function<void(const ProbeOutcome&)> onOutcome) override;

private:
    TlsEndpoint m_endpoint;
    std::chrono::milliseconds m_connectLimit;
};

} // namespace tagsmith::inspection::wireless
