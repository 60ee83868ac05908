#pragma once

#include "cli/command_line.h"

#include <QDeadlineTimer>
#include <QString>
#include <QThread>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

// What the cable verbs share.
namespace tagsmith::cli {

// The --port option, or fallback without it; absent (with the reason in
// error) for anything but 1 to 65535.
std::optional<std::uint16_t> portOption(const CommandLine& line, std::uint16_t fallback, QString* error);

// The repeatable option naming an interface that counts as cable on Linux,
// as the settings key "cableInterfaces" does for the window.
inline const QString kCableInterfaceOption = QStringLiteral("--cable-interface");
QSet<QString> namedCableInterfaces(const CommandLine& line);

// The status a serving verb ends with when stopped by a signal: with --once it
// was interrupted before its work was done; without, stopping is how it ends.
int stopStatus(const CommandLine& line);

// Exchanges still running when a verb stops hold their server until they
// finish; waiting for that, within the limit, keeps any from being cut off by
// the program's exit.
template <typename Server>
void awaitRelease(std::shared_ptr<Server> server, std::chrono::milliseconds limit = std::chrono::seconds(3)) {
    const std::weak_ptr<Server> remaining = server;
    server.reset();
    const QDeadlineTimer deadline(limit);
    while (!remaining.expired() && !deadline.hasExpired())
        QThread::msleep(10);
}

} // namespace tagsmith::cli
