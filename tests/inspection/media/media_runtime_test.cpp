#include "inspection/media/media_runtime.h"

#include "base/serial_queue.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <condition_variable>

using tagsmith::base::SerialQueue;
using tagsmith::inspection::media::drainQueues;
using tagsmith::test::waitUntil;
using namespace std::chrono_literals;

TEST(MediaRuntime, DrainAnswersOnceWhenTheQueuesRanOrWhenAStalledQueueTimesOut) {
    SerialQueue idle(QStringLiteral("test.idle"));
    SerialQueue stalled(QStringLiteral("test.stalled"));
    std::mutex mutex;
    std::condition_variable changed;
    bool release = false;
    stalled.async([&] {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, 10s, [&release] { return release; });
    });
    int idleAnswers = 0;
    int stalledAnswers = 0;
    QElapsedTimer clock;
    clock.start();
    drainQueues({&idle}, 300ms, [&idleAnswers] { ++idleAnswers; });
    drainQueues({&idle, &stalled}, 300ms, [&stalledAnswers] { ++stalledAnswers; });
    ASSERT_TRUE(waitUntil([&] { return idleAnswers == 1 && stalledAnswers == 1; }));
    EXPECT_GE(clock.elapsed(), 300);
    {
        std::lock_guard lock(mutex);
        release = true;
    }
    changed.notify_all();
    EXPECT_FALSE(waitUntil([&] { return idleAnswers + stalledAnswers > 2; }, 500ms)) << "never a second answer";
}
