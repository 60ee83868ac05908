#include "inspection/wireless/wifi_client.h"

#import <CoreLocation/CoreLocation.h>
#import <CoreWLAN/CoreWLAN.h>

namespace tagsmith::inspection::wireless {

namespace {

Error unreadableCard() {
    return {kWiFiErrorDomain, kCardUnreadable, QStringLiteral("网卡不可读")};
}

// CoreWLAN's view of the built-in card. The location manager is only read:
// scanning shows network names only with location access, and this program
// never asks for it.
class CoreWLANClient final : public WiFiClient {
public:
    std::optional<WiFiInterface> defaultInterface() override {
        @autoreleasepool {
            CWInterface* card = [[CWWiFiClient sharedWiFiClient] interface];
            if (card == nil)
                return std::nullopt;
            WiFiInterface interface;
            interface.name = QString::fromNSString(card.interfaceName ?: @"");
            interface.powerOn = card.powerOn;
            interface.ssid = QString::fromNSString(card.ssid ?: @"");
            // 0 means CoreWLAN has no reading.
            if (card.rssiValue != 0)
                interface.rssi = int(card.rssiValue);
            return interface;
        }
    }

    LocationAuthorization locationAuthorization() override {
        switch (m_location.authorizationStatus) {
        case kCLAuthorizationStatusAuthorizedAlways:
            return LocationAuthorization::authorized;
        case kCLAuthorizationStatusNotDetermined:
            return LocationAuthorization::notDetermined;
        default:
            return LocationAuthorization::denied;
        }
    }

    Result<int> scanNetworkCount() override {
        @autoreleasepool {
            CWInterface* card = [[CWWiFiClient sharedWiFiClient] interface];
            if (card == nil)
                return unreadableCard();
            NSError* error = nil;
            NSSet<CWNetwork*>* networks = [card scanForNetworksWithName:nil error:&error];
            if (networks == nil)
                return Error{kWiFiErrorDomain, kScanFailed, QString::fromNSString(error.localizedDescription ?: @"")};
            return int(networks.count);
        }
    }

private:
    // Made on the main thread, where the system wants location managers made.
    CLLocationManager* m_location = [[CLLocationManager alloc] init];
};

} // namespace

std::shared_ptr<WiFiClient> makeSystemWiFiClient() {
    return std::make_shared<CoreWLANClient>();
}

} // namespace tagsmith::inspection::wireless
