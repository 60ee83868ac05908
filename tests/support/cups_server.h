#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace tagsmith::test {

// A private CUPS scheduler for printing tests: it listens only on a socket in
// its own folder, keeps all state there, and its queues hand every job to a
// backend that copies the file into outputFolder(). While it runs, the test
// process (and the lp/lpstat it starts, with runTool) talk to it through CUPS_SERVER.
class CupsServer {
public:
    CupsServer();
    ~CupsServer();

    bool running() const { return m_running; }
    QString whyNotRunning() const { return m_problem; }
    QString outputFolder() const;

    bool addQueue(const QString& name);

private:
    bool prepareFolders();
    bool writeConfiguration();
    bool startDaemon();

    QTemporaryDir m_folder;
    QProcess m_daemon;
    QByteArray m_previousServer;
    bool m_running = false;
    QString m_problem;
};

} // namespace tagsmith::test
