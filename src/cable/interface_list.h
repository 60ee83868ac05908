#pragma once

#include <QString>

#include <ifaddrs.h>
#include <sys/socket.h>

#include <functional>

namespace tagsmith::cable {

// Walks the system's interface-address list, freeing it afterwards. Does
// nothing when the list cannot be read.
void forEachInterfaceAddress(const std::function<void(const ifaddrs&)>& visit);

// The numeric host text of an address (IPv6 link-local with "%scope"), or
// empty when it cannot be converted.
QString numericHost(const sockaddr& address);

} // namespace tagsmith::cable
