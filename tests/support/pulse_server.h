#pragma once

#include "support/processes.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tagsmith::test {

// A private PulseAudio server for audio tests. Its default output is a null
// sink marked as the machine's internal card ("VirtualOut") and its default
// input a source that records whatever that sink plays ("VirtualMic"), so a
// test hears its own tone. It keeps every file in its own folder; while it
// runs, this process (Qt's audio and the pactl it starts) talks to it through
// PULSE_SERVER and PULSE_COOKIE. One per process: Qt connects to the sound server only once.
class PulseServer {
public:
    // Starts the server on first use; it stops when the application object goes.
    static PulseServer& shared();
    ~PulseServer();

    bool running() const { return m_running; }
    QString whyNotRunning() const { return m_problem; }

    // Runs pactl against this server; true when it succeeded.
    bool pactl(const QStringList& arguments, QString* output = nullptr) const {
        return runTool(QStringLiteral("pactl"), arguments, output);
    }
    // Makes VirtualOut and VirtualMic the defaults again.
    bool restoreDefaults() const;
    // Adds, once, a sink that is not built in, for tests that switch the output away.
    bool addExternalSink(const QString& name) const;

private:
    PulseServer();
    bool startDaemon();

    QTemporaryDir m_folder;
    QProcess m_daemon;
    bool m_running = false;
    QString m_problem;
};

} // namespace tagsmith::test
