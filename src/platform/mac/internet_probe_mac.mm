#include "inspection/wireless/internet_probe.h"

#import <Network/Network.h>

namespace tagsmith::inspection::wireless {

namespace {

using OutcomeHandler = std::function<void(const ProbeOutcome&)>;

QString describe(nw_error_t error) {
    if (error == nil)
        return QStringLiteral("连接失败");
    CFErrorRef failure = nw_error_copy_cf_error(error);
    CFStringRef text = CFErrorCopyDescription(failure);
    QString description = QString::fromCFString(text);
    CFRelease(text);
    CFRelease(failure);
    // The page adds its own full stop.
    while (description.endsWith(u'.') || description.endsWith(u'。'))
        description.chop(1);
    return description;
}

void deliver(const std::shared_ptr<OutcomeHandler>& handler, const ProbeOutcome& outcome) {
    // A copy: the handler may destroy the connection, which clears the original.
    if (const OutcomeHandler current = *handler)
        current(outcome);
}

class NetworkConnection final : public ProbeConnection {
public:
    NetworkConnection(nw_connection_t connection, std::shared_ptr<OutcomeHandler> handler)
        : m_connection(connection), m_handler(std::move(handler)) {}
    ~NetworkConnection() override {
        *m_handler = nullptr;
        nw_connection_set_state_changed_handler(m_connection, nil);
        nw_connection_cancel(m_connection);
    }

private:
    nw_connection_t m_connection;
    std::shared_ptr<OutcomeHandler> m_handler;
};

// TLS with the system's defaults, and Wi-Fi as the required interface type,
// so that Ethernet or the cable network can never carry the test.
class NetworkInternetProbe final : public InternetProbe {
public:
    std::unique_ptr<ProbeConnection> open(const QString& /*wifiInterfaceName*/, OutcomeHandler onOutcome) override {
        nw_endpoint_t endpoint = nw_endpoint_create_host(kPublicHttpsHost.toUtf8().constData(), "443");
        nw_parameters_t parameters =
            nw_parameters_create_secure_tcp(NW_PARAMETERS_DEFAULT_CONFIGURATION, NW_PARAMETERS_DEFAULT_CONFIGURATION);
        nw_parameters_set_required_interface_type(parameters, nw_interface_type_wifi);
        nw_connection_t connection = nw_connection_create(endpoint, parameters);
        auto handler = std::make_shared<OutcomeHandler>(std::move(onOutcome));
        nw_connection_set_queue(connection, dispatch_get_main_queue());
        nw_connection_set_state_changed_handler(connection, ^(nw_connection_state_t state, nw_error_t error) {
          if (state == nw_connection_state_ready)
              deliver(handler, {true, {}});
          else if (state == nw_connection_state_failed)
              deliver(handler, {false, describe(error)});
        });
        nw_connection_start(connection);
        return std::make_unique<NetworkConnection>(connection, handler);
    }
};

} // namespace

std::shared_ptr<InternetProbe> makeSystemInternetProbe() {
    return std::make_shared<NetworkInternetProbe>();
}

} // namespace tagsmith::inspection::wireless
