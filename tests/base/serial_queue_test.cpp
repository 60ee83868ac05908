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

TEST(SerialQueue, RunsTasksOneAtATimeInOrderOnItsOwnThread) {
    SerialQueue queue(QStringLiteral("tagsmith.test.order"));
    std::mutex mutex;
    std::vector<int> order;
    std::vector<QThread*> threads;
    for (int i = 0; i < 100; ++i) {
        queue.async([&, i] {
            std::lock_guard lock(mutex);
            order.push_back(i);
            threads.push_back(QThread::currentThread());
        });
    }
    bool drained = false;
    queue.drain([&] { drained = QThread::currentThread() == QCoreApplication::instance()->thread(); });
    ASSERT_TRUE(waitUntil([&] { return drained; }));

    std::lock_guard lock(mutex);
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_NE(threads.front(), QThread::currentThread());
    EXPECT_EQ(threads.front()->objectName(), QStringLiteral("tagsmith.test.order"));
    EXPECT_EQ(std::count(threads.begin(), threads.end(), threads.front()), 100);
}

TEST(SerialQueue, DrainWaitsForTasksAlreadyQueued) {
    SerialQueue queue(QStringLiteral("tagsmith.test.drain"));
    std::binary_semaphore gate{0};
    std::atomic<bool> slowTaskDone = false;
    queue.async([&] {
        gate.acquire();
        slowTaskDone = true;
    });
    bool drainedAfterSlowTask = false;
    bool drained = false;
    queue.drain([&] {
        drainedAfterSlowTask = slowTaskDone;
        drained = true;
    });
    EXPECT_FALSE(waitUntil([&] { return drained; }, 100ms)) << "the drain waits while the task is held";
    gate.release();
    ASSERT_TRUE(waitUntil([&] { return drained; }));
    EXPECT_TRUE(drainedAfterSlowTask);
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
