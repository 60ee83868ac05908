#include "inspection/media/audio_routes.h"

#include <gtest/gtest.h>

using tagsmith::inspection::media::AudioRoute;
using tagsmith::inspection::media::AudioRoutes;

namespace {

const AudioRoute kSpeakers{QStringLiteral("MacBook Pro扬声器"), 73, true, 2};
const AudioRoute kMicrophone{QStringLiteral("MacBook Pro麦克风"), 66, true, 1};

struct RouteCase {
    const char* name;
    AudioRoutes routes;
    bool usable;
};

class AudioRoutesUsable : public testing::TestWithParam<RouteCase> {};

TEST_P(AudioRoutesUsable, AcceptsOnlyBuiltInStereoOutputAndBuiltInInput) {
    EXPECT_EQ(GetParam().routes.usable(), GetParam().usable);
}

INSTANTIATE_TEST_SUITE_P(
    InspectionMedia, AudioRoutesUsable,
    testing::Values(
        RouteCase{"BuiltInPair", {kSpeakers, kMicrophone}, true},
        RouteCase{"NoOutput", {std::nullopt, kMicrophone}, false},
        RouteCase{"NoInput", {kSpeakers, std::nullopt}, false},
        RouteCase{"Headphones", {AudioRoute{QStringLiteral("外置耳机"), 73, false, 2}, kMicrophone}, false},
        RouteCase{"MonoOutput", {AudioRoute{QStringLiteral("扬声器"), 73, true, 1}, kMicrophone}, false},
        RouteCase{"ExternalMicrophone", {kSpeakers, AudioRoute{QStringLiteral("USB 麦克风"), 90, false, 1}}, false},
        RouteCase{"InputWithoutChannels", {kSpeakers, AudioRoute{QStringLiteral("麦克风"), 66, true, 0}}, false}),
    [](const testing::TestParamInfo<RouteCase>& info) { return info.param.name; });

TEST(AudioRoutes, DescriptionNamesBothDevicesOrSaysTheyWereNotRead) {
    const QString advice = QStringLiteral("\n请关闭系统“单声道音频”，并将左右平衡居中，以便区分左右扬声器。");
    EXPECT_EQ((AudioRoutes{kSpeakers, kMicrophone}).description(),
              QStringLiteral("当前输出：MacBook Pro扬声器\n当前输入：MacBook Pro麦克风") + advice);
    EXPECT_EQ(AudioRoutes{}.description(), QStringLiteral("当前输出：未读取\n当前输入：未读取") + advice);
}

} // namespace
