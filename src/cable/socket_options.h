#pragma once

#include <QString>

// Socket behaviour that differs between the operating systems. Each function
// is defined once per OS in platform/<os>/socket_options_<os>.cpp.
namespace tagsmith::cable {

// A write to a peer that has gone away must fail, not raise SIGPIPE and end
// the program. Sockets that will be written to get this once.
void preventSigpipe(int socket);

// Flags for every send(): the per-call form of the same guard, where the OS
// has no socket option for it.
int sendFlags();

// Pins the socket to one interface so that its traffic can never leave through
// another one, whatever the routing table says.
bool bindToInterface(int socket, int family, unsigned index, const QString& name);

} // namespace tagsmith::cable
