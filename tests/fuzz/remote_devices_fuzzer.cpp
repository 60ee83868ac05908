#include "fuzz_input.h"

#include "cable/remote_devices.h"

#include <algorithm>

using namespace tagsmith;
using cable::InterfaceAddress;

namespace {

const QList<InterfaceAddress> kOwn{{"en9", "fe80::2"}, {"en10", "fe80::4d2:27ff:fe10:9b31"}, {"bridge0", "fe80::9"}};

bool isOwn(const QString& address) {
    return std::any_of(kOwn.begin(), kOwn.end(), [&](const InterfaceAddress& own) { return own.address == address; });
}

} // namespace

// NUL-separated parts: the "remotectl list" output, the "ndp -an" output, then
// the "remotectl show" output of each listed device in listing order. The Mac
// found must sit on one of this machine's interfaces, and no candidate for a
// pull may be anything but another machine's link-local address.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QList<QByteArray> parts = fuzz::bytesOf(data, size).split('\0');
    const QString listing = QString::fromUtf8(fuzz::part(parts, 0));
    const QStringList ids = cable::remoteDeviceIds(listing);
    const auto run = [&](const QString&, const QStringList& arguments) {
        if (arguments.value(0) == QLatin1String("list"))
            return listing;
        return QString::fromUtf8(fuzz::part(parts, 2 + ids.indexOf(arguments.value(1))));
    };
    if (const auto mac = cable::findAttachedMac(run, QStringLiteral("/usr/libexec/remotectl"), kOwn)) {
        fuzz::require(std::any_of(kOwn.begin(), kOwn.end(),
                                  [&](const InterfaceAddress& own) {
                                      return own.interfaceName == mac->interfaceName && own.address == mac->address;
                                  }),
                      "the Mac is on an interface where this machine has its address");
    }
    for (const InterfaceAddress& own : kOwn) {
        const QString neighbours = QString::fromUtf8(fuzz::part(parts, 1));
        for (const QString& candidate : cable::pullCandidates(neighbours, own.interfaceName, kOwn)) {
            fuzz::require(candidate.startsWith(QLatin1String("fe80:")) && !candidate.contains(u'%'),
                          "a candidate is a link-local address without scope");
            fuzz::require(!isOwn(candidate), "this machine never pulls from itself");
        }
    }
    return 0;
}
