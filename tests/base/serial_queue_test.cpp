#include "base/serial_queue.h"

#include "support/wait.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <mutex>
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
    std::atomic<bool> slowTaskDone = false;
    queue.async([&] {
        QThread::msleep(100);
        slowTaskDone = true;
    });
    bool drainedAfterSlowTask = false;
    bool drained = false;
    queue.drain([&] {
        drainedAfterSlowTask = slowTaskDone;
        drained = true;
    });
    ASSERT_TRUE(waitUntil([&] { return drained; }));
    EXPECT_TRUE(drainedAfterSlowTask);
}

TEST(SerialQueue, RepeatingTimerFiresAtOnceThenRepeatsUntilCancelled) {
    SerialQueue queue(QStringLiteral("tagsmith.test.timer"));
    std::atomic<int> firings = 0;
    auto timer = queue.every(50ms, [&] { ++firings; });
    EXPECT_TRUE(timer.active());
    ASSERT_TRUE(waitUntil([&] { return firings >= 1; }, 1s)) << "the first firing comes at once";
    ASSERT_TRUE(waitUntil([&] { return firings >= 3; }, 2s));

    timer.cancel();
    bool drained = false;
    queue.drain([&] { drained = true; });
    ASSERT_TRUE(waitUntil([&] { return drained; }));
    const int afterCancel = firings;
    QThread::msleep(200); // several intervals: a live timer would have fired again
    bool drainedAgain = false;
    queue.drain([&] { drainedAgain = true; });
    ASSERT_TRUE(waitUntil([&] { return drainedAgain; }));
    EXPECT_EQ(firings, afterCancel);
    EXPECT_FALSE(timer.active());
}

TEST(SerialQueue, DestroyingTheTimerHandleStopsIt) {
    SerialQueue queue(QStringLiteral("tagsmith.test.handle"));
    std::atomic<int> firings = 0;
    {
        auto timer = queue.every(20ms, [&] { ++firings; });
        ASSERT_TRUE(waitUntil([&] { return firings >= 1; }));
    }
    QThread::msleep(100);
    const int settled = firings;
    QThread::msleep(100);
    EXPECT_EQ(firings, settled);
}
