#include "cable/accept_loop.h"

#include "base/detached_thread.h"
#include "cable/frames.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

namespace tagsmith::cable {

namespace {

constexpr int kClosed = -1; // acceptNext: the loop was closed, or the listener failed for good
constexpr int kRetry = -2;  // acceptNext: nothing to take after all

bool setNonBlocking(int socket, bool on) {
    const int flags = ::fcntl(socket, F_GETFL);
    return flags >= 0 && ::fcntl(socket, F_SETFL, on ? flags | O_NONBLOCK : flags & ~O_NONBLOCK) == 0;
}

// Failures that concern one connection, not the listener; Linux also passes on
// the pending connection's network errors.
bool isTransient(int error) {
    constexpr std::array kTransient{EAGAIN,      EWOULDBLOCK, EINTR,        ECONNABORTED, EPROTO,     ENETDOWN,
                                    ENOPROTOOPT, EHOSTDOWN,   EHOSTUNREACH, EOPNOTSUPP,   ENETUNREACH};
    return std::ranges::find(kTransient, error) != kTransient.end();
}

} // namespace

std::unique_ptr<AcceptLoop> AcceptLoop::start(base::OwnedFd listener, Serve serve) {
    int wake[2] = {-1, -1};
    // A non-blocking listener lets the thread check for close() between
    // poll() and accept() without ever blocking while it holds the lock.
    if (!listener || !setNonBlocking(listener.get(), true) || ::pipe(wake) != 0)
        return nullptr;
    auto shared = std::make_shared<Shared>();
    const int descriptor = listener.get();
    shared->listener = std::move(listener);
    shared->wakeRead = base::OwnedFd(wake[0]);
    shared->wakeWrite = base::OwnedFd(wake[1]);
    if (!base::runDetached([shared, descriptor, serve = std::move(serve)] { run(shared, descriptor, serve); }))
        return nullptr;
    return std::unique_ptr<AcceptLoop>(new AcceptLoop(std::move(shared)));
}

AcceptLoop::~AcceptLoop() {
    close();
}

void AcceptLoop::close() {
    const std::lock_guard guard(m_shared->lock);
    m_shared->listener.reset();
    m_shared->wakeWrite.reset();
}

bool AcceptLoop::running() const {
    return !m_shared->ended;
}

void AcceptLoop::run(const std::shared_ptr<Shared>& shared, int listener, const Serve& serve) {
    for (;;) {
        pollfd ready[2] = {{listener, POLLIN, 0}, {shared->wakeRead.get(), POLLIN, 0}};
        if (::poll(ready, 2, -1) < 0 && errno != EINTR)
            break;
        const int connection = acceptNext(*shared, listener);
        if (connection == kRetry)
            continue;
        if (connection == kClosed)
            break;
        setNonBlocking(connection, false); // some systems hand on the listener's mode
        setTimeout(connection);
        if (!serve(base::OwnedFd(connection)))
            break;
    }
    end(*shared);
}

void AcceptLoop::end(Shared& shared) {
    {
        const std::lock_guard guard(shared.lock);
        shared.listener.reset();
        shared.wakeWrite.reset();
    }
    shared.ended = true;
}

int AcceptLoop::acceptNext(Shared& shared, int listener) {
    const std::lock_guard guard(shared.lock);
    if (!shared.listener)
        return kClosed;
    const int connection = ::accept(listener, nullptr, nullptr);
    if (connection >= 0)
        return connection;
    return isTransient(errno) ? kRetry : kClosed;
}

} // namespace tagsmith::cable
