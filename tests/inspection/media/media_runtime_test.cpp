#include "inspection/media/media_runtime.h"

#include "base/serial_queue.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <condition_variable>
#include <mutex>

using tagsmith::base::SerialQueue;
using tagsmith::inspection::media::drainQueues;
using tagsmith::inspection::media::MediaRuntime;
using tagsmith::test::waitUntil;
using namespace std::chrono_literals;

namespace {

TEST(MediaRuntime, QueuesCarryTheirLabels) {
    EXPECT_EQ(MediaRuntime::queue().label(), QStringLiteral("local.tagsmith.audio-hardware"));
    EXPECT_EQ(MediaRuntime::cameraQueue().label(), QStringLiteral("local.tagsmith.camera-hardware"));
    EXPECT_EQ(MediaRuntime::logQueue().label(), QStringLiteral("local.tagsmith.media-log"));
}

TEST(MediaRuntime, DrainAnswersOnceWhenEveryQueueRanItsWork) {
    SerialQueue first(QStringLiteral("test.first"));
    SerialQueue second(QStringLiteral("test.second"));
    std::atomic<int> ran = 0;
    first.async([&ran] { ++ran; });
    second.async([&ran] { ++ran; });
    int answers = 0;
    int ranWhenAnswered = -1;
    drainQueues({&first, &second}, 400ms, [&] {
        ++answers;
        ranWhenAnswered = ran;
    });
    ASSERT_TRUE(waitUntil([&answers] { return answers > 0; }));
    EXPECT_EQ(ranWhenAnswered, 2);
    EXPECT_FALSE(waitUntil([&answers] { return answers > 1; }, 600ms)) << "the limit does not answer again";
}

TEST(MediaRuntime, DrainGivesUpOnAStalledQueueAfterTheLimit) {
    SerialQueue stalled(QStringLiteral("test.stalled"));
    std::mutex mutex;
    std::condition_variable released;
    bool release = false;
    stalled.async([&] {
        std::unique_lock lock(mutex);
        released.wait_for(lock, 10s, [&release] { return release; });
    });
    bool answered = false;
    QElapsedTimer clock;
    clock.start();
    drainQueues({&stalled}, 200ms, [&answered] { answered = true; });
    EXPECT_TRUE(waitUntil([&answered] { return answered; }));
    EXPECT_GE(clock.elapsed(), 200);
    {
        std::lock_guard lock(mutex);
        release = true;
    }
    released.notify_all();
}

} // namespace
