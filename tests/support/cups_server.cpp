#include "support/cups_server.h"

#include "support/paths.h"
#include "support/processes.h"
#include "support/wait.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace tagsmith::test {

namespace {

const QString kSystemServerBin = QStringLiteral("/usr/lib/cups");

bool writeText(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

CupsServer::CupsServer() : m_previousServer(qgetenv("CUPS_SERVER")) {
    if (::geteuid() != 0) {
        m_problem = QStringLiteral("the private CUPS scheduler needs root (the backend must run as root)");
        return;
    }
    if (!QFile::exists(QStringLiteral("/usr/sbin/cupsd"))) {
        m_problem = QStringLiteral("cupsd is not installed");
        return;
    }
    m_running = prepareFolders() && writeConfiguration() && startDaemon();
}

CupsServer::~CupsServer() {
    endProcess(m_daemon);
    if (m_previousServer.isNull())
        qunsetenv("CUPS_SERVER");
    else
        qputenv("CUPS_SERVER", m_previousServer);
}

QString CupsServer::outputFolder() const {
    return m_folder.filePath(QStringLiteral("out"));
}

// The scheduler's helper programs come from the system, but the backend folder
// is ours so the test backend needs no change to the system installation.
bool CupsServer::prepareFolders() {
    const QDir root(m_folder.path());
    for (const char* sub : {"etc/ppd", "spool/tmp", "cache", "run", "log", "out", "serverbin/backend"})
        root.mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(m_folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                               QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    for (const QString& entry : QDir(kSystemServerBin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (entry != QLatin1String("backend"))
            QFile::link(kSystemServerBin + u'/' + entry, root.filePath(QStringLiteral("serverbin/") + entry));
    }
    const QString backend = root.filePath(QStringLiteral("serverbin/backend/labeldir"));
    if (!QFile::copy(sourcePath(QStringLiteral("tests/support/cups/labeldir")), backend))
        return false;
    // Owner-only permissions make cupsd run the backend as root, which may write anywhere.
    return QFile::setPermissions(backend, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool CupsServer::writeConfiguration() {
    const QString c = m_folder.path();
    const QString files =
        QStringLiteral("SystemGroup root\nFileDevice Yes\nServerRoot %1/etc\nServerBin %1/serverbin\n"
                       "RequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/run\nTempDir %1/spool/tmp\n"
                       "Printcap %1/run/printcap\nAccessLog %1/log/access_log\nPageLog %1/log/page_log\n"
                       "ErrorLog %1/log/error_log\n")
            .arg(c);
    const QString daemon =
        QStringLiteral("LogLevel warn\nListen %1/run/cups.sock\nBrowsing No\nWebInterface No\n"
                       "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                       "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
            .arg(c);
    return writeText(c + QStringLiteral("/etc/cups-files.conf"), files) &&
           writeText(c + QStringLiteral("/etc/cupsd.conf"), daemon);
}

bool CupsServer::startDaemon() {
    const QString c = m_folder.path();
    m_daemon.setStandardOutputFile(QProcess::nullDevice());
    m_daemon.setStandardErrorFile(c + QStringLiteral("/log/cupsd.stderr"));
    m_daemon.start(QStringLiteral("/usr/sbin/cupsd"),
                   {QStringLiteral("-f"), QStringLiteral("-c"), c + QStringLiteral("/etc/cupsd.conf"),
                    QStringLiteral("-s"), c + QStringLiteral("/etc/cups-files.conf")});
    if (!m_daemon.waitForStarted(5000)) {
        m_problem = QStringLiteral("cupsd did not start");
        return false;
    }
    qputenv("CUPS_SERVER", (c + QStringLiteral("/run/cups.sock")).toUtf8());
    // lpstat -r exits 0 whether or not the scheduler runs; only its text tells.
    const bool ready = waitUntil([this] {
        QString output;
        runTool(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &output);
        return output.contains(QStringLiteral("is running"));
    });
    if (!ready)
        m_problem = QStringLiteral("cupsd did not answer");
    return ready;
}

bool CupsServer::addQueue(const QString& name) {
    return runTool(QStringLiteral("lpadmin"),
                   {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                    QStringLiteral("labeldir:") + outputFolder(), QStringLiteral("-m"), QStringLiteral("raw")});
}

} // namespace tagsmith::test
