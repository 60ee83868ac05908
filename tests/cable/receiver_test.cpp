#include "cable/receiver.h"

#include "base/main_thread.h"
#include "base/uptime.h"
#include "cable/collector_server.h"
#include "cable/frames.h"
#include "report/report_json.h"
#include "report/validation.h"
#include "support/netns.h"
#include "support/sample_reports.h"
#include "support/sockets.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <poll.h>

#include <atomic>
#include <future>
#include <mutex>
#include <thread>

using namespace tagsmith::cable;
using namespace std::chrono_literals;
using tagsmith::test::NetnsScope;
using tagsmith::test::waitUntil;

namespace {

const QByteArray kKey(32, 'k');
const QString kK7 = QStringLiteral("K7Q2XW9FJ4");
const QString kFVF = QStringLiteral("FVFDL3Q2Q6L4");

QByteArray reportOf(const QString& serial) {
    const QString name = serial == kK7 ? QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport")
                                       : QStringLiteral("valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport");
    return tagsmith::base::readFileUpTo(tagsmith::test::reportFixture(name), 1 << 20).value();
}

void writeFile(const QString& path, const QByteArray& content, bool executable = false) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    if (executable)
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Local addresses (as /proc prints them) of the sockets listening on port in
// the calling thread's network namespace.
QStringList listenersOn(std::uint16_t port) {
    QFile table(QStringLiteral("/proc/thread-self/net/tcp6"));
    table.open(QIODevice::ReadOnly);
    QStringList found;
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields[3] == "0A" && fields[1].endsWith(':' + QByteArray::number(port, 16).toUpper()))
            found.append(QString::fromLatin1(fields[1].left(32)));
    }
    return found;
}

// A pull server that accepts every connection and feeds each one zero byte
// per tick, well within the per-call time-out, for as long as it lives.
class DripServer {
public:
    explicit DripServer(std::uint16_t port) : m_listener(listenOn(anyAddress(port))), m_thread([this] { run(); }) {}
    ~DripServer() {
        m_stop = true;
        m_thread.join();
    }

private:
    static sockaddr_in6 anyAddress(std::uint16_t port) {
        sockaddr_in6 any{};
        any.sin6_family = AF_INET6;
        any.sin6_port = htons(port);
        return any;
    }
    void run() {
        std::vector<tagsmith::base::OwnedFd> connections;
        while (!m_stop) {
            pollfd waiting{m_listener.get(), POLLIN, 0};
            if (::poll(&waiting, 1, 50) == 1)
                connections.emplace_back(::accept(m_listener.get(), nullptr, nullptr));
            for (const auto& connection : connections)
                ::send(connection.get(), "", 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        }
    }

    tagsmith::base::OwnedFd m_listener;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

// The workstation's receiver in its namespace; the Mac on the cable is the
// other end of the veth link, fe80::1 on the collector's side.
class ReceiverTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!m_pair.ready())
            GTEST_SKIP() << tagsmith::test::NetnsPair::skipReason();
        writeFile(m_tools.filePath("ndp"), "#!/bin/sh\ncat '" + m_tools.filePath("ndp.txt").toUtf8() + "'\n", true);
        writeFile(m_tools.filePath("ndp.txt"), "Neighbor Linklayer Address Netif Expire St Flgs Prbs\n"
                                               "fe80::2%en10 6:d2:27:10:9b:31 en10 permanent R\n"
                                               "fe80::7%en10 (incomplete) en10 expired N\n"
                                               "fe80::1%en10 16:a2:53:71:9f:2c en10 permanent R\n");
    }
    void TearDown() override {
        if (m_receiver)
            m_receiver->stop();
    }
    Receiver::Setup setup() {
        Receiver::Setup setup;
        setup.ndp = m_tools.filePath("ndp");
        setup.key = [] { return std::optional(kKey); };
        setup.interval = 100ms;
        return setup;
    }
    void start(Receiver::Setup setup) {
        const NetnsScope inside(m_pair.workstation); // the receiver's threads are born in its namespace
        m_receiver = Receiver::create(std::move(setup));
        m_receiver->state = [this](const QString& text) {
            const std::lock_guard guard(m_lock);
            m_statuses.append(text);
        };
        m_receiver->update = [this](const tagsmith::report::Report& report, const QByteArray& bytes) {
            EXPECT_TRUE(tagsmith::base::isMainThread());
            m_offered.append(report.serial.toUtf8() + ' ' + bytes);
            return m_accept;
        };
        m_receiver->start();
    }
    bool showed(const QString& status) {
        return waitUntil([&] {
            const std::lock_guard guard(m_lock);
            return m_statuses.contains(status);
        });
    }
    // Pushes from the collector's side, while the event loop here answers the receiver's questions.
    std::optional<bool> push(const QString& serial) {
        auto pushed = std::async(std::launch::async, [this, serial] {
            const NetnsScope inside(m_pair.collector);
            const auto socket = connectScoped(QStringLiteral("fe80::2"), QStringLiteral("en9"), kPushPort, 2s);
            return socket.valid() && pushReport(socket.get(), kKey, reportOf(serial), serial);
        });
        if (!waitUntil([&] { return pushed.wait_for(0s) == std::future_status::ready; }, 10s))
            return std::nullopt;
        return pushed.get();
    }

    tagsmith::test::NetnsPair m_pair;
    QTemporaryDir m_tools;
    std::shared_ptr<Receiver> m_receiver;
    std::mutex m_lock; // guards m_statuses, written on the receiver's queue
    QStringList m_statuses;
    QList<QByteArray> m_offered; // on the main thread: serial, space, bytes
    bool m_accept = true;
};

} // namespace

TEST_F(ReceiverTest, FollowsTheMacOnTheCableWithOneListenerOnItsLinkLocalAddressOnly) {
    const QString phone = QStringLiteral("5C2E8D6F-0B1A-4C3D-9E7F-112233445566");
    const QString mac = QStringLiteral("8B0E1A2C-3D4E-4F50-9A61-7C8D9E0F1A2B");
    const auto details = [](const char* deviceClass, const QString& serial) {
        return QStringLiteral("\tProperties: {\n\t\tDeviceClass => %1\n\t\tInterfaceName => en10\n"
                              "\t\tSerialNumber => %2\n\t}\n")
            .arg(QLatin1String(deviceClass), serial)
            .toUtf8();
    };
    writeFile(m_tools.filePath("remotectl"),
              "#!/bin/sh\ncd '" + m_tools.path().toUtf8() +
                  "' && case \"$1\" in list) cat list;; show) cat \"show-$2\";; esac\n",
              true);
    writeFile(m_tools.filePath("list"), (phone + QStringLiteral("\tncm-phone\tconnected\n")).toUtf8());
    writeFile(m_tools.filePath("show-" + phone), details("iPhone", kK7));
    Receiver::Setup withTools = setup();
    withTools.remotectl = m_tools.filePath("remotectl");
    start(withTools);

    ASSERT_TRUE(showed(Receiver::kWaitingText));
    EXPECT_EQ(push(kK7), false) << "no listener while no Mac is attached";

    writeFile(m_tools.filePath("show-" + mac), details("Mac", kK7));
    writeFile(m_tools.filePath("list"), (phone + "\tncm-phone\tconnected\n" + mac + "\tncm-mac\tconnected\n").toUtf8());
    ASSERT_TRUE(showed(Receiver::connectedText(kK7)));
    EXPECT_EQ(push(kK7), true);
    {
        const NetnsScope inside(m_pair.workstation);
        EXPECT_EQ(listenersOn(kPushPort), QStringList{"000080FE000000000000000002000000"}) << "fe80::2 only, never ::";
    }

    writeFile(m_tools.filePath("show-" + mac), details("Mac", kFVF));
    ASSERT_TRUE(showed(Receiver::connectedText(kFVF)));
    EXPECT_EQ(push(kK7), false) << "the listener was reopened for the new Mac";
    EXPECT_EQ(push(kFVF), true);
    EXPECT_EQ(m_offered, (QList<QByteArray>{kK7.toUtf8() + ' ' + reportOf(kK7), kFVF.toUtf8() + ' ' + reportOf(kFVF)}));
}

TEST_F(ReceiverTest, PollsTheMacsPullServerAndAcknowledgesOnlyWhatTheWindowAccepts) {
    int sent = 0;
    std::shared_ptr<CollectorServer> server;
    {
        const NetnsScope inside(m_pair.collector);
        server = CollectorServer::create([] { return std::optional(kKey); });
        server->setReport(reportOf(kK7));
        server->onSent = [&] { ++sent; };
        ASSERT_TRUE(server->start());
    }
    Receiver::Setup atMac = setup();
    atMac.findMac = [] { return AttachedMac{"en10", "fe80::2", kK7}; };
    m_accept = false;
    start(atMac);
    ASSERT_TRUE(waitUntil([&] { return m_offered.size() >= 2; })) << "offered again on every cycle";
    EXPECT_EQ(sent, 0);
    m_accept = true;
    EXPECT_TRUE(waitUntil([&] { return sent >= 1; }));
    const auto report = tagsmith::report::validated(reportOf(kK7)).value();
    EXPECT_EQ(m_offered.first(),
              kK7.toUtf8() + ' ' + encodeReport(report, tagsmith::report::JsonLayout::compactSorted));
    m_receiver->stop();
    server->stop();
}

TEST_F(ReceiverTest, HostilePeersNeitherHoldTheCycleNorSilenceTheListener) {
    std::optional<DripServer> drip;
    {
        const NetnsScope inside(m_pair.collector);
        drip.emplace(kPullPort);
    }
    std::atomic<int> cycles = 0;
    Receiver::Setup atMac = setup();
    atMac.allowance = 300ms; // a dripped 32-byte proof would take 1.6 s
    atMac.findMac = [&] {
        ++cycles;
        return AttachedMac{"en10", "fe80::2", kK7};
    };
    start(atMac);
    ASSERT_TRUE(showed(Receiver::connectedText(kK7)));
    const QByteArray challenge(32, 'c');
    for (const QByteArray& hostile : {QByteArray(100, '\xff'), challenge + frameHeader(1'000'000),
                                      challenge + frameHeader(0), challenge + frameHeader(200) + "short"}) {
        const NetnsScope inside(m_pair.collector);
        const auto socket = connectScoped(QStringLiteral("fe80::2"), QStringLiteral("en9"), kPushPort, 2s);
        const double begin = tagsmith::base::uptime();
        ASSERT_TRUE(sendAll(socket.get(), hostile));
        ::shutdown(socket.get(), SHUT_WR);
        EXPECT_FALSE(readN(socket.get(), 33)) << "the workstation answers the challenge at most, then closes";
        EXPECT_LT(tagsmith::base::uptime() - begin, 1.0);
    }
    const int before = cycles;
    EXPECT_TRUE(waitUntil([&] { return cycles >= before + 3; }, 3s)) << "each dripped poll ends with its allowance";
    EXPECT_EQ(push(kK7), true);
}
