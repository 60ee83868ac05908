#pragma once

#include "cable/cable_link.h"
#include "cable/tool_runner.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

namespace tagsmith::cable {

// Decides which interfaces count as the cable between two Macs (USB-C NCM or
// Thunderbolt, never Wi-Fi, a LAN adapter or a routed network) and builds
// their links. The policy is a pure function of tool outputs (cable_policy.cpp);
// current() runs the tools (cable_network.cpp).
class CableNetwork {
public:
    // One Ethernet interface of the I/O registry.
    struct USBInterface {
        QString name;   // BSD name
        QString driver; // class of the interface's driver object
        QString serial; // USB serial of the host device above a host-side NCM driver; empty otherwise

        bool operator==(const USBInterface&) const = default;
    };

    // Driver classes of the two NCM roles. The Linux backend names its NCM
    // interfaces by these roles too, so one policy serves both systems.
    static inline const QString kDeviceSideNCM = QStringLiteral("AppleUSBDeviceNCMData");
    static inline const QString kHostSideNCM = QStringLiteral("AppleUSBNCMData");

    struct Tools {
        QString remotectl = QStringLiteral("/usr/libexec/remotectl");
        QString networksetup = QStringLiteral("/usr/sbin/networksetup");
        QString ifconfig = QStringLiteral("/sbin/ifconfig");
        std::function<QList<USBInterface>()> usbInterfaces = &CableNetwork::usbInterfaces;
        std::chrono::milliseconds watchdog = kToolWatchdog;
    };

    CableNetwork();
    explicit CableNetwork(Tools tools);

    // The whole discovery: runs the tools, applies the policy, returns the
    // usable links in no particular order. Blocks for up to a few seconds.
    QList<CableLink> current() const;

    static QSet<QString> allowedNames(const QString& ports, const QString& config, const QString& listing,
                                      const QHash<QString, QString>& details, const QList<USBInterface>& interfaces);
    // Device identifiers of the remote-device listing, in listing order.
    static QStringList ncmIDs(const QString& listing);
    // NCM interfaces that lead to another Mac.
    static QSet<QString> applicationUSBNames(const QSet<QString>& macSerials, const QList<USBInterface>& interfaces);
    // The links of the named interfaces whose addresses pass CableLink::accepts.
    static QList<CableLink> links(const QSet<QString>& names);
    // The registry walk; defined per OS in platform/<os>/usb_interfaces_<os>.cpp.
    static QList<USBInterface> usbInterfaces();

private:
    QString read(const QString& tool, const QStringList& arguments) const;

    Tools m_tools;
};

} // namespace tagsmith::cable
