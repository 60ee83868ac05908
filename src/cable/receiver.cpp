#include "cable/receiver.h"

#include "cable/tool_runner.h"
#include "cable/v1_sockets.h"

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
    return setup;
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
        closeListener();
    });
}

void Receiver::refresh() {
    if (m_stopped)
        return;
    const std::optional<AttachedMac> mac = m_setup.findMac();
    if (!mac) {
        closeListener();
        announce(kWaitingText);
        return;
    }
    pollCollector(mac->interfaceName, mac->serial, m_setup.ownAddresses());
    if (!m_stopped)
        keepListener(*mac);
}

void Receiver::pollCollector(const QString& interfaceName, const QString& serial, const QList<InterfaceAddress>& own) {
    const auto key = m_setup.key();
    if (!key)
        return;
    const QString neighbours = runBounded(m_setup.ndp, {QStringLiteral("-an")});
    for (const QString& address : pullCandidates(neighbours, interfaceName, own)) {
        if (m_stopped)
            return;
        pull(address, interfaceName, serial, *key);
    }
}

void Receiver::pull(const QString& address, const QString& interfaceName, const QString& serial,
                    const QByteArray& key) {
    const base::OwnedFd socket = connectScoped(address, interfaceName, m_setup.pullPort, m_setup.connectLimit);
    if (!socket)
        return;
    trackPull(socket.get());
    pullReport(
        socket.get(), key, serial,
        [this](const report::Report& report, const QByteArray& bytes) {
            const bool accepted = offer(report, bytes);
            if (accepted)
                trackPull(-1); // a report the window took is acknowledged even when stop() comes now
            return accepted;
        },
        m_setup.allowance);
    trackPull(-1);
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
        m_listener = AcceptLoop::start(listenOn(*address), pushServer(mac.serial));
    if (!m_listener) {
        announce(kPortBusyText); // the binding stays, so the next cycle tries again
        return;
    }
    m_binding = binding;
    announce(connectedText(mac.serial));
}

// Serves the pushes of the Mac with this serial while the receiver exists.
AcceptLoop::Serve Receiver::pushServer(const QString& serial) {
    return [receiver = weak_from_this(), serial](base::OwnedFd connection) {
        const auto self = receiver.lock();
        if (self)
            self->handle(connection.get(), serial);
        return self != nullptr;
    };
}

void Receiver::closeListener() {
    m_listener.reset();
    m_binding.clear();
}

void Receiver::handle(int connection, const QString& serial) {
    const auto key = m_setup.key();
    if (!key || m_stopped)
        return;
    receivePush(
        connection, *key, serial,
        [this](const report::Report& report, const QByteArray& bytes) { return offer(report, bytes); },
        m_setup.allowance);
}

bool Receiver::offer(const report::Report& report, const QByteArray& bytes) {
    return m_window.ask([update = update, report, bytes] { return update && update(report, bytes); });
}

void Receiver::announce(const QString& text) const {
    if (state)
        state(text);
}

} // namespace tagsmith::cable
