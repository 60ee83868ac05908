#include "support/private_bus.h"

#include "support/processes.h"

#include <QCoreApplication>
#include <QFile>

namespace tagsmith::test {

namespace {

constexpr int kStartLimitMs = 5000;

QByteArray configuration(const QString& socketPath) {
    return "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig><type>session</type><listen>unix:path=" +
           socketPath.toUtf8() +
           "</listen><auth>EXTERNAL</auth>"
           "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
           "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
}

} // namespace

PrivateBus::PrivateBus()
    : m_connectionName(QStringLiteral("tagsmith-test-bus-%1").arg(QCoreApplication::applicationPid())) {
    const QString configPath = m_folder.filePath(QStringLiteral("bus.conf"));
    QFile config(configPath);
    if (!config.open(QIODevice::WriteOnly) || config.write(configuration(m_folder.filePath(QStringLiteral("bus")))) < 0)
        return;
    config.close();
    m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + configPath,
                                                   QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (m_daemon.waitForReadyRead(kStartLimitMs))
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus() {
    QDBusConnection::disconnectFromBus(m_connectionName);
    endProcess(m_daemon);
}

QDBusConnection PrivateBus::connection() const {
    return QDBusConnection::connectToBus(m_address, m_connectionName);
}

bool PrivateBus::startService(QProcess& service, const QString& program, const QStringList& arguments) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    service.setProcessEnvironment(environment);
    service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    service.start(program, arguments);
    return service.waitForReadyRead(kStartLimitMs) && service.readLine().trimmed() == "READY";
}

} // namespace tagsmith::test
