#include "support/pulse_server.h"

#include "support/processes.h"
#include "support/wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <memory>

namespace tagsmith::test {

namespace {

const QString kSink = QStringLiteral("virt_out");
const QString kSource = QStringLiteral("virt_mic");

QStringList daemonArguments() {
    return {QStringLiteral("--daemonize=no"),
            QStringLiteral("--exit-idle-time=-1"),
            QStringLiteral("-n"),
            QStringLiteral("--use-pid-file=no"),
            QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1"),
            QStringLiteral("--load=module-null-sink sink_name=") + kSink +
                QStringLiteral(" sink_properties='device.description=VirtualOut device.form_factor=internal'"),
            QStringLiteral("--load=module-remap-source source_name=") + kSource + QStringLiteral(" master=") + kSink +
                QStringLiteral(".monitor source_properties='device.description=VirtualMic "
                               "device.form_factor=internal'")};
}

std::unique_ptr<PulseServer>& sharedServer() {
    static std::unique_ptr<PulseServer> server;
    return server;
}

} // namespace

PulseServer& PulseServer::shared() {
    if (!sharedServer()) {
        sharedServer().reset(new PulseServer);
        qAddPostRoutine([] { sharedServer().reset(); });
    }
    return *sharedServer();
}

PulseServer::PulseServer() {
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty()) {
        m_problem = QStringLiteral("pulseaudio and pactl are not installed");
        return;
    }
    m_running = startDaemon();
}

PulseServer::~PulseServer() {
    endProcess(m_daemon);
}

// The daemon's runtime folder and home are ours, so its socket, cookie and
// state never touch the user's own sound server.
bool PulseServer::startDaemon() {
    const QString runtime = m_folder.filePath(QStringLiteral("runtime"));
    const QString home = m_folder.filePath(QStringLiteral("home"));
    QDir().mkpath(runtime);
    QDir().mkpath(home);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("HOME"), home);
    environment.remove(QStringLiteral("PULSE_SERVER"));
    m_daemon.setProcessEnvironment(environment);
    m_daemon.setStandardOutputFile(QProcess::nullDevice());
    m_daemon.setStandardErrorFile(m_folder.filePath(QStringLiteral("pulseaudio.log")));
    m_daemon.start(QStringLiteral("pulseaudio"), daemonArguments());
    if (!m_daemon.waitForStarted(5000)) {
        m_problem = QStringLiteral("pulseaudio did not start");
        return false;
    }
    qputenv("PULSE_SERVER", (QStringLiteral("unix:") + runtime + QStringLiteral("/pulse/native")).toUtf8());
    // Clients would otherwise create a cookie in the user's home.
    qputenv("PULSE_COOKIE", m_folder.filePath(QStringLiteral("cookie")).toUtf8());
    if (!waitUntil([this] { return pactl({QStringLiteral("info")}); }, std::chrono::seconds(10)) ||
        !restoreDefaults()) {
        m_problem = QStringLiteral("pulseaudio did not answer");
        return false;
    }
    return true;
}

bool PulseServer::restoreDefaults() const {
    return pactl({QStringLiteral("set-default-sink"), kSink}) && pactl({QStringLiteral("set-default-source"), kSource});
}

bool PulseServer::addExternalSink(const QString& name) const {
    QString sinks;
    if (pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sinks")}, &sinks) &&
        sinks.contains(name))
        return true;
    return pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                  QStringLiteral("sink_name=") + name, QStringLiteral("sink_properties=device.description=External")});
}

} // namespace tagsmith::test
