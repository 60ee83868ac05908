#include "app/sleep_assertion.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>

#include <cstdio>

namespace tagsmith::app {

namespace {

// logind keeps the machine awake while any copy of the inhibitor descriptor is open.
class LogindInhibitor : public SleepAssertion {
public:
    explicit LogindInhibitor(QDBusUnixFileDescriptor descriptor) : m_descriptor(std::move(descriptor)) {}

private:
    QDBusUnixFileDescriptor m_descriptor;
};

class NoInhibitor : public SleepAssertion {};

} // namespace

std::unique_ptr<SleepAssertion> preventIdleSleep(const QString& reason) {
    QDBusInterface manager(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                           QStringLiteral("org.freedesktop.login1.Manager"), QDBusConnection::systemBus());
    const QDBusReply<QDBusUnixFileDescriptor> reply =
        manager.isValid() ? manager.call(QStringLiteral("Inhibit"), QStringLiteral("idle"), QStringLiteral("Tagsmith"),
                                         reason, QStringLiteral("block"))
                          : QDBusReply<QDBusUnixFileDescriptor>();
    if (!reply.isValid() || !reply.value().isValid()) {
        std::fputs("Tagsmith: idle sleep cannot be held off (no logind on the system bus).\n", stderr);
        return std::make_unique<NoInhibitor>();
    }
    return std::make_unique<LogindInhibitor>(reply.value());
}

} // namespace tagsmith::app
