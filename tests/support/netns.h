#pragma once

#include "support/processes.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <atomic>

namespace tagsmith::test {

inline bool runIp(const QStringList& arguments) {
    return runTool(QStringLiteral("ip"), arguments);
}

// Two network namespaces joined by a veth pair: "en9" (index 29, fe80::1) in
// the collector's, "en10" (index 30, fe80::2) in the workstation's. The names
// carry the PID and a counter, so parallel tests never meet; both are removed
// on destruction, which also destroys the veth pair.
class NetnsPair {
public:
    NetnsPair() {
        static std::atomic<int> counter = 0;
        const QString stem = QStringLiteral("tsm%1n%2").arg(QCoreApplication::applicationPid()).arg(counter++);
        collector = stem + QLatin1Char('c');
        workstation = stem + QLatin1Char('w');
        m_ready = runIp({"netns", "add", collector}) && runIp({"netns", "add", workstation}) &&
                  runIp({"link", "add", "en9", "index", "29", "netns", collector, "type", "veth", "peer", "name",
                         "en10", "index", "30", "netns", workstation}) &&
                  configure(collector, QStringLiteral("en9"), QStringLiteral("fe80::1/64")) &&
                  configure(workstation, QStringLiteral("en10"), QStringLiteral("fe80::2/64"));
    }
    ~NetnsPair() {
        runIp({"netns", "del", collector});
        runIp({"netns", "del", workstation});
    }
    NetnsPair(const NetnsPair&) = delete;
    NetnsPair& operator=(const NetnsPair&) = delete;

    bool ready() const { return m_ready; }
    static const char* skipReason() { return "cannot create network namespaces here (needs root and iproute2)"; }

    QString collector;
    QString workstation;

private:
    static bool configure(const QString& ns, const QString& device, const QString& address) {
        return runIp({"-n", ns, "link", "set", device, "addrgenmode", "none"}) &&
               runIp({"-n", ns, "addr", "add", address, "dev", device, "nodad"}) &&
               runIp({"-n", ns, "link", "set", "lo", "up"}) && runIp({"-n", ns, "link", "set", device, "up"});
    }
    bool m_ready = false;
};

// Moves the calling thread into a named network namespace until destroyed.
// Threads it starts meanwhile are born in that namespace too.
class NetnsScope {
public:
    explicit NetnsScope(const QString& name) : m_original(::open("/proc/thread-self/ns/net", O_RDONLY)) {
        const int target = ::open(QFile::encodeName(QStringLiteral("/run/netns/") + name).constData(), O_RDONLY);
        m_entered = target >= 0 && ::setns(target, CLONE_NEWNET) == 0;
        if (target >= 0)
            ::close(target);
    }
    ~NetnsScope() {
        if (m_entered)
            ::setns(m_original, CLONE_NEWNET);
        ::close(m_original);
    }
    NetnsScope(const NetnsScope&) = delete;
    NetnsScope& operator=(const NetnsScope&) = delete;

    bool entered() const { return m_entered; }

private:
    int m_original;
    bool m_entered = false;
};

} // namespace tagsmith::test
