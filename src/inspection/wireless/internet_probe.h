#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace tagsmith::inspection::wireless {

// The host of the connection test. Chosen because it answers from shop
// networks everywhere the counters stand, including behind mainland China's
// filtering.
inline const QString kPublicHttpsHost = QStringLiteral("www.baidu.com");

// How the test connection ended: ready, or failed with the operator's text.
struct ProbeOutcome {
    bool ready = false;
    QString failure; // a Chinese description without closing punctuation, empty when ready
};

// One running test connection. Destroying it cancels it, also from inside
// its own handler; the handler is never called after that.
class ProbeConnection {
public:
    virtual ~ProbeConnection() = default;
};

// Opens one TLS connection to a public HTTPS host over the Wi-Fi card only,
// so that a wired or cable route never counts. Main thread only: the outcome
// arrives once, on the main thread, never from inside open.
class InternetProbe {
public:
    virtual ~InternetProbe() = default;

    virtual std::unique_ptr<ProbeConnection> open(const QString& wifiInterfaceName,
                                                  std::function<void(const ProbeOutcome&)> onOutcome) = 0;
};

// The operating system's probe to the fixed public host; one definition per platform.
std::shared_ptr<InternetProbe> makeSystemInternetProbe();

} // namespace tagsmith::inspection::wireless
