#pragma once

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
// Accept loops and exchanges run on threads of their own; they hold the
// server weakly, so it may go away while they block.
class CollectorV2 : public std::enable_shared_from_this<CollectorV2> {
public:
    struct Timing {
        std::chrono::milliseconds exchange{20'000};      // both reads of an exchange end within this
        std::chrono::milliseconds socketTimeout{20'000}; // each single send or receive
    };

    static std::shared_ptr<CollectorV2> create();
    static std::shared_ptr<CollectorV2> create(Timing timing);
    ~CollectorV2();
    CollectorV2(const CollectorV2&) = delete;
    CollectorV2& operator=(const CollectorV2&) = delete;

    // Absent stops serving; exchanges already past their check finish with the report they took.
    void setReport(std::optional<QByteArray> report);

    // Makes the listeners match links exactly: closes those of vanished links,
    // shuts down the connections that arrived on them, opens the new ones.
    // A listener that cannot be opened is skipped silently; the next call retries.
    void updateCableListeners(const QList<CableLink>& links, std::uint16_t port);

    // Closes every listener and shuts down every open connection.
    void stop();

    // Set by the owner before the first listener opens. onSent runs on the main
    // thread after a workstation acknowledged the report. The cable path never
    // calls onError: listener failures are silent and retried.
    std::function<void()> onSent;
    std::function<void(const QString&)> onError;

private:
    enum class Admission { Serve, Skip, End };

    explicit CollectorV2(Timing timing);
    static void acceptLoop(const std::weak_ptr<CollectorV2>& server, const CableLink& link, int listener);
    bool isCurrent(const CableLink& link, int listener);
    void dropFailedListener(const CableLink& link, int listener);
    Admission admit(const CableLink& link, int listener, int connection);
    void startExchange(int connection);
    void serve(int connection);
    void finishExchange(int connection);
    bool handle(int connection, const std::optional<QString>& expectedDeviceId);
    std::optional<QByteArray> takeReport(int connection, const QString& deviceId);
    // The three steps of updateCableListeners, called with m_lock held.
    void closeListenersOutside(const QSet<CableLink>& wanted);
    void shutDownClientsOutside(const QSet<CableLink>& wanted);
    void openListener(const CableLink& link, std::uint16_t port);

    const Timing m_timing;
    std::mutex m_lock; // guards the four members below; never held across network input or output
    std::optional<QByteArray> m_report;
    std::optional<QString> m_selected; // the workstation this collector serves; never cleared
    QHash<CableLink, int> m_cableListeners;
    QHash<int, CableLink> m_cableClients;
    std::counting_semaphore<4> m_slots{4};
};

} // namespace tagsmith::cable
