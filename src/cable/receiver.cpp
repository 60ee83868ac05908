#include "cable/receiver.h"

#include "cable/tool_runner.h"
#include "cable/v1_sockets.h"

#include <QUuid>

#include <sys/socket.h>

namespace tagsmith::cable {

namespace {

// The tools get the discovery runner's time limit: a hung tool must not stall
// the receiver for good.
QString runBounded(const QString& path, const QStringList& arguments) {
    return runTool(path, arguments);
}

Receiver::Setup withDefaults(Receiver::Setup setup) {
    if (!setup.findMac)
        setup.findMac = [remotectl = setup.remotectl, own = setup.ownAddresses] {
            return findAttachedMac(runBounded, remotectl, own());
        };
    if (!setup.neighbours)
        setup.neighbours = [ndp = setup.ndp](const QString& interfaceName, const QList<InterfaceAddress>& own) {
            return pullCandidates(runBounded(ndp, {QStringLiteral("-an")}), interfaceName, own);
        };
    if (setup.deviceId.isEmpty())
        setup.deviceId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return setup;
}

std::optional<QString> expectedSerial(const AttachedMac& mac) {
    return mac.serialFromReport ? std::nullopt : std::optional(mac.serial);
}

} // namespace

QString Receiver::connectedText(const QString& serial) {
    return QStringLiteral("已连接 ") + serial + QStringLiteral("。请在被测机双击 U盘采集工具，结果会通过数据线回传。");
}

std::shared_ptr<Receiver> Receiver::create() {
    return create(Setup{});
}

std::shared_ptr<Receiver> Receiver::create(Setup setup) {
    return std::shared_ptr<Receiver>(new Receiver(withDefaults(std::move(setup))));
}

Receiver::Receiver(Setup setup) : m_setup(std::move(setup)) {}

Receiver::~Receiver() {
    stop();
}

void Receiver::start() {
    m_queue.async([this] {
        if (m_timer.active() || m_stopped)
            return;
        m_timer = m_queue.every(m_setup.interval, [this] { refresh(); });
        m_quickTimer = m_queue.every(m_setup.quickInterval, [this] { askPendingAgain(); });
        m_events = std::make_unique<LinkEvents>([this] { refresh(); });
    });
}

void Receiver::stop() {
    m_stopped = true;
    m_window.cancel();
    {
        const std::lock_guard guard(m_pullLock);
        if (m_pullSocket >= 0)
            ::shutdown(m_pullSocket, SHUT_RDWR);
    }
    m_queue.async([this] {
        m_timer.cancel();
        m_quickTimer.cancel();
        m_events.reset();
        closeListener();
    });
}

void Receiver::refresh() {
    if (m_stopped)
        return;
    const std::optional<AttachedMac> mac = m_setup.findMac();
    m_pending.reset();
    if (!mac) {
        closeListener();
        announce(kWaitingText);
        return;
    }
    pollCollector(*mac, m_setup.ownAddresses());
    if (!m_stopped)
        keepListener(*mac);
}

// The v1 pull needs the receiver key; the v2 exchange agrees on its own.
// Neighbours that handed nothing over v2 are asked again between cycles.
void Receiver::pollCollector(const AttachedMac& mac, const QList<InterfaceAddress>& own) {
    const auto key = m_setup.key();
    Pending pending{mac, {}};
    for (const QString& address : m_setup.neighbours(mac.interfaceName, own)) {
        if (m_stopped)
            return;
        if (pullV2(address, mac))
            continue;
        pending.addresses.append(address);
        if (key && !m_stopped)
            pull(address, mac, *key);
    }
    m_pending = std::move(pending);
}

// A collector's report is ready at a moment nothing on the link shows, so
// waiting for the next cycle would add seconds; a v2 connection that is
// refused, or closed because no report is ready, costs almost nothing.
void Receiver::askPendingAgain() {
    if (!m_pending || m_stopped)
        return;
    m_pending->addresses.removeIf([this](const QString& address) { return pullV2(address, m_pending->mac); });
}

// True when the neighbour handed its report over the v2 exchange.
bool Receiver::pullV2(const QString& address, const AttachedMac& mac) {
    const base::OwnedFd socket = connectScoped(address, mac.interfaceName, m_setup.v2Port, m_setup.connectLimit);
    if (!socket)
        return false;
    trackPull(socket.get());
    const bool fetched =
        fetchV2Report(socket.get(), m_setup.deviceId, expectedSerial(mac), pullOffer(mac), m_setup.allowance);
    trackPull(-1);
    return fetched;
}

void Receiver::pull(const QString& address, const AttachedMac& mac, const QByteArray& key) {
    const base::OwnedFd socket = connectScoped(address, mac.interfaceName, m_setup.pullPort, m_setup.connectLimit);
    if (!socket)
        return;
    trackPull(socket.get());
    pullReport(socket.get(), key, expectedSerial(mac), pullOffer(mac), m_setup.allowance);
    trackPull(-1);
}

// The window's say, for a report pulled or pushed from this Mac.
ReportOffer Receiver::offerFrom(const AttachedMac& mac) {
    return [this, mac](const report::Report& report, const QByteArray& bytes) {
        const bool accepted = offer(report, bytes);
        if (accepted && mac.serialFromReport)
            announce(connectedText(report.serial));
        return accepted;
    };
}

// A pulled report the window took is acknowledged even when stop() comes now.
ReportOffer Receiver::pullOffer(const AttachedMac& mac) {
    return [this, windowSays = offerFrom(mac)](const report::Report& report, const QByteArray& bytes) {
        const bool accepted = windowSays(report, bytes);
        if (accepted)
            trackPull(-1);
        return accepted;
    };
}

void Receiver::trackPull(int socket) {
    const std::lock_guard guard(m_pullLock);
    m_pullSocket = socket;
    if (socket >= 0 && m_stopped)
        ::shutdown(socket, SHUT_RDWR); // stop() came between the connection and this
}

void Receiver::keepListener(const AttachedMac& mac) {
    const QString binding = mac.interfaceName + mac.address + mac.serial;
    if (binding == m_binding && m_listener && m_listener->running())
        return;
    m_listener.reset(); // frees the address before the new listener binds it
    if (const auto address = socketAddress(mac.address, mac.interfaceName, m_setup.pushPort))
        m_listener = AcceptLoop::start(listenOn(*address), pushServer(mac));
    if (!m_listener) {
        announce(kPortBusyText); // the binding stays, so the next cycle tries again
        return;
    }
    m_binding = binding;
    // Without a serial from the system, the Mac is named once its report came.
    announce(mac.serialFromReport ? kWaitingText : connectedText(mac.serial));
}

// Serves the pushes of this Mac while the receiver exists.
AcceptLoop::Serve Receiver::pushServer(const AttachedMac& mac) {
    return [receiver = weak_from_this(), mac](base::OwnedFd connection) {
        const auto self = receiver.lock();
        if (self)
            self->handle(connection.get(), mac);
        return self != nullptr;
    };
}

void Receiver::closeListener() {
    m_listener.reset();
    m_binding.clear();
}

void Receiver::handle(int connection, const AttachedMac& mac) {
    const auto key = m_setup.key();
    if (!key || m_stopped)
        return;
    receivePush(connection, *key, expectedSerial(mac), offerFrom(mac), m_setup.allowance);
}

bool Receiver::offer(const report::Report& report, const QByteArray& bytes) {
    return m_window.ask([update = update, report, bytes] { return update && update(report, bytes); });
}

void Receiver::announce(const QString& text) const {
    if (state)
        state(text);
}

} // namespace tagsmith::cable
