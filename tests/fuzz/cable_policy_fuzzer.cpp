#include "fuzz_input.h"

#include "cable/cable_network.h"

using namespace tagsmith;
using cable::CableNetwork;

namespace {

// Lines of "name driver serial", as the registry walk would give them.
QList<CableNetwork::USBInterface> interfacesOf(const QByteArray& text) {
    QList<CableNetwork::USBInterface> interfaces;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        interfaces.append({QString::fromUtf8(fields.value(0)), QString::fromUtf8(fields.value(1)),
                           QString::fromUtf8(fields.value(2))});
    }
    return interfaces;
}

} // namespace

// NUL-separated parts: the hardware-port listing, the interface configuration,
// the remote-device listing, the registry interfaces, then the details of each
// listed device in listing order. Only active interfaces of the configuration
// may ever be allowed.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QList<QByteArray> parts = fuzz::bytesOf(data, size).split('\0');
    const QString ports = QString::fromUtf8(fuzz::part(parts, 0));
    const QString config = QString::fromUtf8(fuzz::part(parts, 1));
    const QString listing = QString::fromUtf8(fuzz::part(parts, 2));
    QHash<QString, QString> details;
    const QStringList identifiers = CableNetwork::ncmIDs(listing);
    for (qsizetype i = 0; i < identifiers.size(); ++i)
        details.insert(identifiers[i], QString::fromUtf8(fuzz::part(parts, 4 + i)));
    const QSet<QString> allowed =
        CableNetwork::allowedNames(ports, config, listing, details, interfacesOf(fuzz::part(parts, 3)));
    for (const QString& name : allowed)
        fuzz::require(config.contains(name + QLatin1String(": flags=")), "an allowed interface has a block");
    fuzz::require(allowed.isEmpty() || config.contains(QLatin1String("status: active")),
                  "only an active interface is allowed");
    return 0;
}
