#pragma once

#include "cable/accept_loop.h"
#include "cable/receiver_key.h"
#include "cable/v1_exchange.h"

#include <QByteArray>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace tagsmith::cable {

// The collector's v1 pull server: on every IPv6 address, one workstation at a
// time, it hands the report to a workstation that proves the receiver key.
// Its accept loop holds the server weakly.
class CollectorServer : public std::enable_shared_from_this<CollectorServer> {
public:
    static std::shared_ptr<CollectorServer> create(KeySource key = receiverKey,
                                                   std::chrono::milliseconds allowance = kV1ExchangeAllowance);
    CollectorServer(const CollectorServer&) = delete;
    CollectorServer& operator=(const CollectorServer&) = delete;

    // Absent stops serving; safe from any thread.
    void setReport(std::optional<QByteArray> report);

    // Opens the listener on "::" and starts its accept loop; false when the
    // port cannot be had. Call start and stop from one thread.
    bool start(std::uint16_t port = kPullPort);
    void stop();

    // Serves one pull connection; the caller closes it.
    void handle(int connection);

    // Set before start; runs on the main thread after a workstation acknowledged.
    std::function<void()> onSent;

private:
    CollectorServer(KeySource key, std::chrono::milliseconds allowance);
    std::optional<QByteArray> takeReport();

    const KeySource m_key;
    const std::chrono::milliseconds m_allowance;
    std::mutex m_lock; // guards m_data; never held across network input or output
    std::optional<QByteArray> m_data;
    std::unique_ptr<AcceptLoop> m_listener;
};

} // namespace tagsmith::cable
