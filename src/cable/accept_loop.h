#pragma once

#include "base/owned_fd.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace tagsmith::cable {

// A listening socket served on a thread of its own, one connection at a time
// in arrival order; further connections wait in the listen queue. Each
// accepted connection gets the v1 socket time-outs and is handed to serve,
// which may keep it beyond the call or let it close.
//
// close() (also on destruction) closes the listening socket at once, so its
// address is free for a new listener straight away, and ends the thread. The
// thread never touches the descriptor number again afterwards, even while it
// is busy serving: the number may already belong to another socket. A failed
// accept that concerns one connection is retried; any other failure closes
// the listener and ends the loop, and the owner opens a new one.
class AcceptLoop {
public:
    // Serves one connection; false ends the loop (its owner is gone, or replaced the listener).
    using Serve = std::function<bool(base::OwnedFd connection)>;

    // Null when no thread can be started; the listener is then closed.
    static std::unique_ptr<AcceptLoop> start(base::OwnedFd listener, Serve serve);
    ~AcceptLoop();
    AcceptLoop(const AcceptLoop&) = delete;
    AcceptLoop& operator=(const AcceptLoop&) = delete;

    void close();
    // False once the loop has ended on its own, after an accept failure; its listener is closed then.
    bool running() const;

private:
    struct Shared {
        std::mutex lock;         // held only around accept(), never while a connection is served
        base::OwnedFd listener;  // closed under lock
        base::OwnedFd wakeRead;  // becomes readable when wakeWrite closes
        base::OwnedFd wakeWrite; // closed under lock, with the listener
        std::atomic<bool> ended = false;
    };

    explicit AcceptLoop(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}
    static void run(const std::shared_ptr<Shared>& shared, int listener, const Serve& serve);
    static int acceptNext(Shared& shared, int listener);
    static void end(Shared& shared);

    std::shared_ptr<Shared> m_shared;
};

} // namespace tagsmith::cable
