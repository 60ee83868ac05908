#pragma once

#include <functional>
#include <memory>

namespace tagsmith::cable {

// Wakes cable discovery at once when the system reports a cable coming up:
// an interface that starts running, an IPv6 link-local address added, or a
// neighbour not seen before. Create it on a thread with an event loop; it
// calls onChange there. Where the system gives no such events it does
// nothing, and the periodic refresh alone follows the cable. Defined per OS
// in platform/<os>/link_events_<os>.cpp.
class LinkEvents {
public:
    explicit LinkEvents(std::function<void()> onChange);
    ~LinkEvents();
    LinkEvents(const LinkEvents&) = delete;
    LinkEvents& operator=(const LinkEvents&) = delete;

private:
    struct Watch;
    std::unique_ptr<Watch> m_watch;
};

} // namespace tagsmith::cable
