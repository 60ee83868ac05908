#include "cli/stop_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace tagsmith::cli {

namespace {

// A signal handler may only do async-signal-safe work: it writes one byte,
// and the event loop reacts to the readable pipe on the main thread.
int g_signalPipe[2] = {-1, -1};

void onStopSignal(int) {
    const char byte = 0;
    [[maybe_unused]] const ssize_t ignored = ::write(g_signalPipe[1], &byte, 1);
}

bool openSignalPipe() {
    if (::pipe(g_signalPipe) != 0)
        return false;
    for (const int end : g_signalPipe) {
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
        ::fcntl(end, F_SETFL, O_NONBLOCK);
    }
    return true;
}

} // namespace

void quitOnStopSignals(int status) {
    if (g_signalPipe[0] >= 0 || !openSignalPipe())
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [status] {
        char byte = 0;
        while (::read(g_signalPipe[0], &byte, 1) > 0) {
        }
        QCoreApplication::exit(status);
    });
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

} // namespace tagsmith::cli
