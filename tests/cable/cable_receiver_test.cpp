#include "cable/cable_receiver.h"

#include "support/wait.h"

#include <gtest/gtest.h>

#include <QThread>

#include <atomic>

using namespace tagsmith::cable;
using namespace std::chrono_literals;
using tagsmith::test::waitUntil;

namespace {

void stopAndWait(CableReceiver& receiver) {
    bool stopped = false;
    receiver.stop([&] { stopped = true; });
    ASSERT_TRUE(waitUntil([&] { return stopped; }));
}

} // namespace

TEST(CableReceiver, StartingTwiceRunsOneTimerOnTheReceiveQueue) {
    std::atomic<int> refreshes = 0;
    QString queueName;
    CableReceiver receiver(
        CollectorV2::create(), kV2Port,
        [&] {
            queueName = QThread::currentThread()->objectName();
            ++refreshes;
            return QList<CableLink>();
        },
        1h);
    receiver.start();
    receiver.start();
    ASSERT_TRUE(waitUntil([&] { return refreshes >= 1; })) << "the first refresh comes at once";
    stopAndWait(receiver);
    EXPECT_EQ(refreshes, 1) << "a second timer would have fired at once too";
    EXPECT_EQ(queueName, QStringLiteral("tagsmith.cable.receive"));
}

TEST(CableReceiver, StopIsFinal) {
    std::atomic<int> refreshes = 0;
    CableReceiver receiver(
        CollectorV2::create(), kV2Port,
        [&] {
            ++refreshes;
            return QList<CableLink>();
        },
        20ms);
    receiver.start();
    ASSERT_TRUE(waitUntil([&] { return refreshes >= 3; }));
    stopAndWait(receiver);
    const int atStop = refreshes;
    receiver.start();
    QThread::msleep(200); // ten intervals: a restarted timer would have fired
    stopAndWait(receiver);
    EXPECT_EQ(refreshes, atStop);
}
