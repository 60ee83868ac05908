#pragma once

#include "base/result.h"

#include <QString>

#include <memory>
#include <optional>

namespace tagsmith::inspection::wireless {

// What the system tells about its Wi-Fi card.
struct WiFiInterface {
    QString name;            // the operating system's interface name, to bind the connection test to
    bool powerOn = false;    // the radio is switched on
    QString ssid;            // empty while the machine is not joined to a network
    std::optional<int> rssi; // received signal strength in dBm, when the system tells it
};

// Whether this program may see the networks around it, which scanning needs
// on some systems. The page only reads it and never asks for it.
enum class LocationAuthorization { authorized, notDetermined, denied };

// Domain and codes of the Wi-Fi client's failures.
inline const QString kWiFiErrorDomain = QStringLiteral("WiFi");
enum WiFiErrorCode { kCardUnreadable = 1, kScanFailed = 2 };

// The system's Wi-Fi client. defaultInterface and locationAuthorization are
// called on the main thread; scanNetworkCount blocks and is called on a
// worker thread, so implementations must allow both at once.
class WiFiClient {
public:
    virtual ~WiFiClient() = default;

    virtual std::optional<WiFiInterface> defaultInterface() = 0;
    virtual LocationAuthorization locationAuthorization() = 0;
    // Scans for every network in reach and counts the access points found.
    virtual Result<int> scanNetworkCount() = 0;
};

// The operating system's client; one definition per platform.
std::shared_ptr<WiFiClient> makeSystemWiFiClient();

} // namespace tagsmith::inspection::wireless
