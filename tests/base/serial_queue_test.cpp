#include "base/serial_queue.h"

#include "support/wait.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <semaphore>
#include <vector>

using namespace std::chrono_literals;
using tagsmith::base::SerialQueue;
using tagsmith::test::waitUntil;

// The first task is held: the drain must wait for it and every task queued behind it.
TEST(SerialQueue, RunsTasksOneAtATimeInOrderOnItsOwnThreadAndDrainsAfterThem) {
    SerialQueue queue(QStringLiteral("tagsmith.test.order"));
    std::binary_semaphore gate{0};
    std::mutex mutex;
    std::vector<int> order;
    std::vector<QThread*> threads;
    queue.async([&] { gate.acquire(); });
    for (int i = 0; i < 100; ++i) {
        queue.async([&, i] {
            std::lock_guard lock(mutex);
            order.push_back(i);
            threads.push_back(QThread::currentThread());
        });
    }
    bool drained = false;
    queue.drain([&] { drained = QThread::currentThread() == QCoreApplication::instance()->thread(); });
    EXPECT_FALSE(waitUntil([&] { return drained; }, 100ms)) << "the drain waits while a task is held";
    gate.release();
    ASSERT_TRUE(waitUntil([&] { return drained; }));

    std::lock_guard lock(mutex);
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_NE(threads.front(), QThread::currentThread());
    EXPECT_EQ(threads.front()->objectName(), QStringLiteral("tagsmith.test.order"));
    EXPECT_EQ(std::count(threads.begin(), threads.end(), threads.front()), 100);
}

namespace {

// Returns once every firing already under way has finished.
void drain(SerialQueue& queue) {
    bool drained = false;
    queue.drain([&] { drained = true; });
    ASSERT_TRUE(waitUntil([&] { return drained; }));
}

// Waits, on the queue's own clock, until a timer of this interval would have fired several times.
void letIntervalsPass(SerialQueue& queue, std::chrono::milliseconds interval) {
    std::atomic<int> ticks = 0;
    {
        const auto witness = queue.every(interval, [&] { ++ticks; });
        EXPECT_TRUE(waitUntil([&] { return ticks >= 4; }));
    }
    drain(queue);
}

} // namespace

TEST(SerialQueue, RepeatingTimerFiresAtOnceThenRepeatsUntilCancelledOrItsHandleIsGone) {
    SerialQueue queue(QStringLiteral("tagsmith.test.timer"));
    std::atomic<int> cancelled = 0;
    std::atomic<int> dropped = 0;
    auto timer = queue.every(50ms, [&] { ++cancelled; });
    EXPECT_TRUE(timer.active());
    ASSERT_TRUE(waitUntil([&] { return cancelled >= 1; }, 1s)) << "the first firing comes at once";
    ASSERT_TRUE(waitUntil([&] { return cancelled >= 3; }, 2s));
    {
        auto handle = queue.every(20ms, [&] { ++dropped; });
        ASSERT_TRUE(waitUntil([&] { return dropped >= 1; }));
    }
    timer.cancel();
    drain(queue);
    const int afterCancel = cancelled;
    const int afterDrop = dropped;
    letIntervalsPass(queue, 50ms);
    EXPECT_EQ(cancelled, afterCancel);
    EXPECT_EQ(dropped, afterDrop);
    EXPECT_FALSE(timer.active());
}
