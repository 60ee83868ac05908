#include "inspection/media/audio_routes.h"

#include <gtest/gtest.h>

using tagsmith::inspection::media::AudioRoute;
using tagsmith::inspection::media::AudioRoutes;

TEST(AudioRoutes, OnlyBuiltInStereoOutputWithBuiltInInputIsUsable) {
    const AudioRoute speakers{QStringLiteral("MacBook Pro扬声器"), 73, true, 2};
    const AudioRoute microphone{QStringLiteral("MacBook Pro麦克风"), 66, true, 1};
    EXPECT_TRUE((AudioRoutes{speakers, microphone}).usable());
    EXPECT_FALSE((AudioRoutes{std::nullopt, microphone}).usable());
    EXPECT_FALSE((AudioRoutes{speakers, std::nullopt}).usable());
    EXPECT_FALSE((AudioRoutes{AudioRoute{QStringLiteral("耳机"), 73, false, 2}, microphone}).usable());
    EXPECT_FALSE((AudioRoutes{AudioRoute{QStringLiteral("扬声器"), 73, true, 1}, microphone}).usable());
    EXPECT_FALSE((AudioRoutes{speakers, AudioRoute{QStringLiteral("USB 麦克风"), 90, false, 1}}).usable());
    EXPECT_EQ(
        AudioRoutes{}.description(),
        QStringLiteral(
            "当前输出：未读取\n当前输入：未读取\n请关闭系统“单声道音频”，并将左右平衡居中，以便区分左右扬声器。"));
}
