#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tagsmith::test {

// A D-Bus daemon of the test's own: its socket in a temporary folder, no
// service activation, every name free to own. Services started here see it as
// their session bus; the test reaches it through connection(), so no system
// or session bus of the machine is involved. Stopped on destruction.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool isRunning() const { return m_daemon.state() == QProcess::Running && !m_address.isEmpty(); }
    QDBusConnection connection() const;
    // Starts a program on this bus and waits until it prints "READY"; false
    // when it does not within a few seconds.
    bool startService(QProcess& service, const QString& program, const QStringList& arguments) const;

private:
    QTemporaryDir m_folder;
    QProcess m_daemon;
    QString m_address;
    QString m_connectionName;
};

} // namespace tagsmith::test
