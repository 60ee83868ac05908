#include "cable/receiver.h"

#include "base/main_thread.h"
#include "cable/collector_server.h"
#include "cable/frames.h"
#include "report/report_json.h"
#include "report/validation.h"
#include "support/netns.h"
#include "support/paths.h"
#include "support/sample_reports.h"
#include "support/sockets.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <future>

using namespace tagsmith::cable;
using namespace std::chrono_literals;
using tagsmith::test::NetnsScope;
using tagsmith::test::waitUntil;

namespace {

const QByteArray kKey(32, 'k');
const QString kK7 = QStringLiteral("K7Q2XW9FJ4");
const QString kFVF = QStringLiteral("FVFDL3Q2Q6L4");

QByteArray reportOf(const QString& serial) {
    return tagsmith::test::reportFixtureBytes(serial == kK7 ? "valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport"
                                                            : "valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport");
}

// The workstation's receiver in its namespace, with fixture tools; the Mac on
// the cable is the other end of the veth link, fe80::1 on the collector's side.
class ReceiverTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!m_pair.ready())
            GTEST_SKIP() << tagsmith::test::NetnsPair::skipReason();
        m_setup.ndp = write("ndp", "#!/bin/sh\ncat <<'END'\nNeighbor Linklayer Address Netif Expire St Flgs Prbs\n"
                                   "fe80::2%en10 6:d2:27:10:9b:31 en10 permanent R\n"
                                   "fe80::7%en10 (incomplete) en10 expired N\n"
                                   "fe80::1%en10 16:a2:53:71:9f:2c en10 permanent R\nEND\n");
        m_setup.key = [] { return std::optional(kKey); };
        m_setup.interval = 100ms;
    }
    // Every state text and question of the receiver has reached this fixture before it goes.
    void TearDown() override {
        if (!m_receiver)
            return;
        m_receiver->stop();
        const std::weak_ptr<Receiver> stopped = std::exchange(m_receiver, nullptr);
        EXPECT_TRUE(waitUntil([&] { return stopped.expired(); }));
        QCoreApplication::sendPostedEvents();
    }
    QString write(const QString& name, const QByteArray& content) {
        return tagsmith::test::writeExecutable(m_tools.filePath(name), content);
    }
    void start() {
        const NetnsScope inside(m_pair.workstation); // the receiver's threads are born in its namespace
        m_receiver = Receiver::create(m_setup);
        m_receiver->state = [this](const QString& text) {
            tagsmith::base::onMain([this, text] { m_statuses.append(text); });
        };
        m_receiver->update = [this](const tagsmith::report::Report& report, const QByteArray& bytes) {
            EXPECT_TRUE(tagsmith::base::isMainThread());
            m_offered.append(report.serial.toUtf8() + ' ' + bytes);
            return m_accept;
        };
        m_receiver->start();
    }
    bool showed(const QString& status) {
        return waitUntil([&] { return m_statuses.contains(status); });
    }
    // Pushes from the collector's side while the event loop here answers the receiver's questions.
    bool push(const QString& serial) {
        auto pushed = std::async(std::launch::async, [this, serial] {
            const NetnsScope inside(m_pair.collector);
            const auto socket = connectScoped(QStringLiteral("fe80::2"), QStringLiteral("en9"), kPushPort, 2s);
            return socket.valid() && pushReport(socket.get(), kKey, reportOf(serial), serial);
        });
        return waitUntil([&] { return pushed.wait_for(0s) == std::future_status::ready; }, 10s) && pushed.get();
    }

    tagsmith::test::NetnsPair m_pair;
    QTemporaryDir m_tools;
    Receiver::Setup m_setup;
    std::shared_ptr<Receiver> m_receiver;
    QStringList m_statuses;      // on the main thread, like everything below
    QList<QByteArray> m_offered; // serial, space, bytes
    bool m_accept = true;
};

} // namespace

TEST_F(ReceiverTest, FollowsTheMacOnTheCableWithOneListenerOnItsLinkLocalAddressOnly) {
    const auto show = [&](const char* id, const char* deviceClass, const QString& serial) {
        write(QStringLiteral("show-") + QLatin1String(id),
              QStringLiteral("\tProperties: {\n\t\tDeviceClass => %1\n\t\tInterfaceName => en10\n"
                             "\t\tSerialNumber => %2\n\t}\n")
                  .arg(QLatin1String(deviceClass), serial)
                  .toUtf8());
    };
    m_setup.remotectl = write("remotectl", "#!/bin/sh\ncd \"$(dirname \"$0\")\"\n[ \"$1\" = list ] && cat list || "
                                           "cat \"show-$2\"\n");
    write("list", "5C2E8D6F-0B1A-4C3D-9E7F-112233445566\tncm-phone\tconnected\n");
    show("5C2E8D6F-0B1A-4C3D-9E7F-112233445566", "iPhone", kK7);
    start();
    ASSERT_TRUE(showed(Receiver::kWaitingText));
    EXPECT_FALSE(push(kK7)) << "no listener while no Mac is attached";

    show("8B0E1A2C-3D4E-4F50-9A61-7C8D9E0F1A2B", "Mac", kK7);
    write("list", "5C2E8D6F-0B1A-4C3D-9E7F-112233445566\tncm-phone\tconnected\n"
                  "8B0E1A2C-3D4E-4F50-9A61-7C8D9E0F1A2B\tncm-mac\tconnected\n");
    ASSERT_TRUE(showed(Receiver::connectedText(kK7)));
    EXPECT_TRUE(push(kK7));
    {
        const NetnsScope inside(m_pair.workstation);
        EXPECT_FALSE(tagsmith::test::connectTcp(QStringLiteral("::1"), kPushPort, 0ms).valid()) << "never on ::";
    }

    show("8B0E1A2C-3D4E-4F50-9A61-7C8D9E0F1A2B", "Mac", kFVF);
    ASSERT_TRUE(showed(Receiver::connectedText(kFVF)));
    EXPECT_FALSE(push(kK7)) << "the listener was reopened for the new Mac";
    EXPECT_TRUE(push(kFVF));
    EXPECT_EQ(m_offered, (QList<QByteArray>{kK7.toUtf8() + ' ' + reportOf(kK7), kFVF.toUtf8() + ' ' + reportOf(kFVF)}));
}

TEST_F(ReceiverTest, PollsTheMacsPullServerAndAcknowledgesOnlyWhatTheWindowAccepts) {
    const auto sent = std::make_shared<int>(0); // outlives onSent calls still queued when the test ends
    std::shared_ptr<CollectorServer> server;
    {
        const NetnsScope inside(m_pair.collector);
        server = CollectorServer::create([] { return std::optional(kKey); });
        server->setReport(reportOf(kK7));
        server->onSent = [sent] { ++*sent; };
        ASSERT_TRUE(server->start());
    }
    m_setup.findMac = [] { return AttachedMac{"en10", "fe80::2", kK7}; };
    m_accept = false;
    start();
    ASSERT_TRUE(waitUntil([&] { return m_offered.size() >= 2; })) << "offered again on every cycle";
    EXPECT_EQ(*sent, 0);
    m_accept = true;
    EXPECT_TRUE(waitUntil([&] { return *sent >= 1; }));
    const auto report = tagsmith::report::validated(reportOf(kK7)).value();
    EXPECT_EQ(m_offered.first(),
              kK7.toUtf8() + ' ' + encodeReport(report, tagsmith::report::JsonLayout::compactSorted));
    server->stop();
}
