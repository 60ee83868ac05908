#include "cli/cable_support.h"

#include "cli/verb.h"

namespace tagsmith::cli {

std::optional<std::uint16_t> portOption(const CommandLine& line, std::uint16_t fallback, QString* error) {
    const QString text = line.option(QStringLiteral("--port"), QString::number(fallback));
    bool valid = true;
    const uint port = text.toUInt(&valid);
    if (!valid || port == 0 || port > 65535) {
        *error = QStringLiteral("端口无效：") + text;
        return std::nullopt;
    }
    return std::uint16_t(port);
}

QSet<QString> namedCableInterfaces(const CommandLine& line) {
    const QStringList names = line.values(kCableInterfaceOption);
    return QSet<QString>(names.begin(), names.end());
}

int stopStatus(const CommandLine& line) {
    return line.has(QStringLiteral("--once")) ? kInterrupted : kSuccess;
}

} // namespace tagsmith::cli
