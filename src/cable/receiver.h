#pragma once

#include "base/serial_queue.h"
#include "cable/accept_loop.h"
#include "cable/collector_v2.h"
#include "cable/interface_addresses.h"
#include "cable/link_events.h"
#include "cable/main_thread_question.h"
#include "cable/receiver_key.h"
#include "cable/remote_devices.h"
#include "cable/v1_exchange.h"
#include "cable/v1_sockets.h"
#include "cable/v2_fetch.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace tagsmith::cable {

// The workstation's end of the cable: every cycle it looks for a Mac on a
// cable link, pulls from each neighbour on that link (v2 first, then the v1
// pull server), and keeps a push listener on this machine's link-local
// address of that link, never on any other address.
// Each report must validate and carry the Mac's serial; the window then
// decides, and only an accepted report is acknowledged.
class Receiver : public std::enable_shared_from_this<Receiver> {
public:
    struct Setup {
        QString remotectl = QStringLiteral("/usr/libexec/remotectl");
        QString ndp = QStringLiteral("/usr/sbin/ndp");
        std::function<std::optional<AttachedMac>()> findMac; // defaults to asking remotectl
        // The neighbours worth a pull on a link; defaults to reading ndp.
        std::function<QStringList(const QString& interfaceName, const QList<InterfaceAddress>& own)> neighbours;
        std::function<QList<InterfaceAddress>()> ownAddresses = addresses;
        KeySource key = receiverKey;
        QString deviceId; // this workstation's v2 identifier; a fresh one per process when empty
        std::uint16_t pushPort = kPushPort;
        std::uint16_t pullPort = kPullPort;
        std::uint16_t v2Port = kV2Port;
        std::chrono::milliseconds interval{5000};
        std::chrono::milliseconds quickInterval{250};               // v2 asks of neighbours that had no report yet
        std::chrono::milliseconds allowance = kV1ExchangeAllowance; // each exchange, push or pull
        std::chrono::milliseconds connectLimit = kPullConnectLimit;
    };

    static inline const QString kWaitingText = QStringLiteral("等待通过数据线连接被测 MacBook…");
    static inline const QString kPortBusyText = QStringLiteral("数据线接收端口无法开启，请关闭其他收货软件后重试。");
    static QString connectedText(const QString& serial);

    static std::shared_ptr<Receiver> create();
    static std::shared_ptr<Receiver> create(Setup setup);
    // Stops first. Waits only for a cycle in progress, which stopping cuts short.
    ~Receiver();
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

    // Set both before start(). update runs on the main thread while the
    // network thread waits for its answer; state runs on the receiver's queue.
    ReportOffer update;
    std::function<void(const QString&)> state;

    // The first cycle at once, then one per interval, and one whenever the
    // system reports a cable link, address or neighbour appearing.
    void start();
    // Final: no further cycle, the listener closes, an exchange in progress is
    // cut off, and a report not yet offered to the window never is.
    void stop();

private:
    explicit Receiver(Setup setup);
    void refresh();
    void pollCollector(const AttachedMac& mac, const QList<InterfaceAddress>& own);
    bool pullV2(const QString& address, const AttachedMac& mac);
    void askPendingAgain();
    void pull(const QString& address, const AttachedMac& mac, const QByteArray& key);
    void keepListener(const AttachedMac& mac);
    AcceptLoop::Serve pushServer(const AttachedMac& mac);
    void closeListener();
    void handle(int connection, const AttachedMac& mac);
    ReportOffer offerFrom(const AttachedMac& mac);
    ReportOffer pullOffer(const AttachedMac& mac);
    bool offer(const report::Report& report, const QByteArray& bytes);
    void announce(const QString& text) const;
    void trackPull(int socket);

    const Setup m_setup;
    std::atomic<bool> m_stopped = false;
    MainThreadQuestion m_window;
    std::mutex m_pullLock; // guards m_pullSocket, which stop() shuts down from any thread
    int m_pullSocket = -1;
    std::unique_ptr<AcceptLoop> m_listener; // touched only on m_queue
    QString m_binding;                      // touched only on m_queue: interface + address + serial of m_listener
    base::RepeatingTimer m_timer;           // touched only on m_queue
    base::RepeatingTimer m_quickTimer;      // touched only on m_queue
    struct Pending {
        AttachedMac mac;
        QStringList addresses; // neighbours that have not handed a report over v2
    };
    std::optional<Pending> m_pending;     // touched only on m_queue
    std::unique_ptr<LinkEvents> m_events; // touched only on m_queue
    // Declared last, so it is destroyed first: its thread ends before the
    // members above go, which is why its tasks may capture this plainly.
    base::SerialQueue m_queue{QStringLiteral("tagsmith.receiver")};
};

} // namespace tagsmith::cable
