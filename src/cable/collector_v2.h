#pragma once

#include "base/owned_fd.h"
#include "cable/accept_loop.h"
#include "cable/cable_link.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <semaphore>

namespace tagsmith::cable {

inline constexpr std::uint16_t kV2Port = 49379;

// The collector's v2 server: one listening socket per cable link, and at most
// four exchanges at once, each handing the report to one chosen workstation.
// Accept loops run on threads of their own and hold the server weakly, so it
// may go away while they block; an exchange holds it until it ends.
class CollectorV2 : public std::enable_shared_from_this<CollectorV2> {
public:
    struct Timing {
        std::chrono::milliseconds exchange{20'000};      // both reads of an exchange end within this
        std::chrono::milliseconds socketTimeout{20'000}; // each single send or receive
    };

    static std::shared_ptr<CollectorV2> create();
    static std::shared_ptr<CollectorV2> create(Timing timing);
    CollectorV2(const CollectorV2&) = delete;
    CollectorV2& operator=(const CollectorV2&) = delete;

    // Absent stops serving; exchanges already past their check finish with the report they took.
    void setReport(std::optional<QByteArray> report);

    // Makes the listeners match links exactly: closes those of vanished links,
    // shuts down the connections that arrived on them, opens the new ones.
    // A listener that cannot be opened, or whose accept failed for good, is
    // skipped silently; the next call opens it again.
    void updateCableListeners(const QList<CableLink>& links, std::uint16_t port);

    // Closes every listener and shuts down every open connection.
    void stop();

    // Set by the owner before the first listener opens. onSent runs on the main
    // thread after a workstation acknowledged the report. The cable path never
    // calls onError: listener failures are silent and retried.
    std::function<void()> onSent;
    std::function<void(const QString&)> onError;

private:
    struct Listener {
        std::shared_ptr<AcceptLoop> loop;
        std::uint64_t id = 0; // tells a reopened listener of a link from the one it replaced
    };

    explicit CollectorV2(Timing timing);
    AcceptLoop::Serve admission(const CableLink& link, std::uint64_t id);
    bool admit(const CableLink& link, std::uint64_t id, base::OwnedFd connection);
    void startExchange(base::OwnedFd connection);
    void serve(base::OwnedFd& connection);
    void finishExchange(base::OwnedFd& connection);
    bool handle(int connection, const std::optional<QString>& expectedDeviceId);
    std::optional<QByteArray> takeReport(int connection, const QString& deviceId);
    // The three steps of updateCableListeners, called with m_lock held.
    void closeListenersOutside(const QSet<CableLink>& wanted);
    void shutDownClientsOutside(const QSet<CableLink>& wanted);
    void openListener(const CableLink& link, std::uint16_t port);
    bool isListening(const CableLink& link) const; // called with m_lock held

    const Timing m_timing;
    std::mutex m_lock; // guards the five members below; never held across network input or output
    std::optional<QByteArray> m_report;
    std::optional<QString> m_selected; // the workstation this collector serves; never cleared
    QHash<CableLink, Listener> m_cableListeners;
    // Open exchanges by descriptor; an exchange closes its socket only after leaving this map.
    QHash<int, CableLink> m_cableClients;
    std::uint64_t m_lastListenerId = 0;
    std::counting_semaphore<4> m_slots{4};
};

} // namespace tagsmith::cable
