#include "cable/cable_receiver.h"

#include "support/wait.h"

#include <gtest/gtest.h>

#include <QThread>

#include <atomic>

using namespace tagsmith::cable;
using namespace std::chrono_literals;

namespace {

struct CountingReceiver {
    explicit CountingReceiver(std::chrono::milliseconds interval)
        : receiver(
              CollectorV2::create(), kV2Port,
              [this] {
                  queue = QThread::currentThread()->objectName();
                  ++refreshes;
                  return QList<CableLink>();
              },
              interval) {}
    void stopAndWait() {
        bool stopped = false;
        receiver.stop([&] { stopped = true; });
        ASSERT_TRUE(tagsmith::test::waitUntil([&] { return stopped; }));
    }
    std::atomic<int> refreshes = 0;
    QString queue; // written on the receive queue, read after stopAndWait
    CableReceiver receiver;
};

} // namespace

TEST(CableReceiver, StartingTwiceRunsOneTimerOnTheReceiveQueueAndStopIsFinal) {
    CountingReceiver counting(1h);
    counting.receiver.start();
    counting.receiver.start();
    ASSERT_TRUE(tagsmith::test::waitUntil([&] { return counting.refreshes >= 1; })) << "the first comes at once";
    counting.stopAndWait();
    EXPECT_EQ(counting.refreshes, 1) << "a second timer would have fired at once too";
    EXPECT_EQ(counting.queue, QStringLiteral("tagsmith.cable.receive"));
    counting.receiver.start();
    counting.stopAndWait();
    EXPECT_EQ(counting.refreshes, 1) << "a restarted timer would have fired at once, before the stop";
}
