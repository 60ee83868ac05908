#include "inspection/media/watchdog.h"

#include "support/wait.h"

#include <gtest/gtest.h>

using tagsmith::inspection::media::Watchdog;
using tagsmith::test::waitUntil;
using namespace std::chrono_literals;

namespace {

TEST(Watchdog, CancelledOrReplacedActionsNeverRun) {
    Watchdog watchdog;
    QStringList fired;
    watchdog.arm(10ms, [&fired] { fired << QStringLiteral("cancelled"); });
    watchdog.cancel();
    watchdog.arm(10ms, [&fired] { fired << QStringLiteral("replaced"); });
    watchdog.arm(20ms, [&fired] { fired << QStringLiteral("last"); });
    ASSERT_TRUE(waitUntil([&fired] { return !fired.isEmpty(); }));
    EXPECT_FALSE(waitUntil([&fired] { return fired.size() > 1; }, 100ms));
    EXPECT_EQ(fired, QStringList{QStringLiteral("last")});
    EXPECT_FALSE(watchdog.isArmed());
}

TEST(Watchdog, ActionMayRearmItsOwnWatchdog) {
    Watchdog watchdog;
    int fired = 0;
    std::function<void()> again = [&] {
        if (++fired < 3)
            watchdog.arm(5ms, again);
    };
    watchdog.arm(5ms, again);
    ASSERT_TRUE(waitUntil([&fired] { return fired == 3; }));
    EXPECT_FALSE(watchdog.isArmed());
}

} // namespace
