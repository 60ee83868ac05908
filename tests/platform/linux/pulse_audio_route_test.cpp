#include "platform/linux/pulse_audio_route.h"

#include "support/fixtures.h"

#include <gtest/gtest.h>

using tagsmith::inspection::media::AudioRoute;
using tagsmith::platform::pulseDefaultRoute;

namespace {

QByteArray defaults(const char* sink, const char* source) {
    return QByteArray(R"({"default_sink_name":")") + sink + R"(","default_source_name":")" + source + R"("})";
}

// A laptop's internal card counts as built-in only while its speaker port
// plays: plugged-in headphones move the active port. (The private sound
// server of the system audio tests has no ports, so only this list shows it.)
TEST(PulseDefaultRoute, AnInternalCardPlayingToHeadphonesIsNotBuiltIn) {
    const QByteArray laptop = defaults("alsa_output.pci-0000_00_1f.3.analog-stereo", "");
    QByteArray sinks = tagsmith::test::fixtureBytes("pactl/sinks-laptop-headphones.json");
    EXPECT_EQ(pulseDefaultRoute(laptop, sinks, false),
              (AudioRoute{QStringLiteral("内置音频 模拟立体声"), 0, false, 2}));
    sinks.replace(R"("active_port":"analog-output-headphones")", R"("active_port":"analog-output-speaker")");
    EXPECT_TRUE(pulseDefaultRoute(laptop, sinks, false)->builtIn);
}

TEST(PulseDefaultRoute, OddOrBrokenAnswers) {
    const QByteArray sinks = R"([{"index":7,"name":"mono","description":"","channel_map":"mono",)"
                             R"("properties":{"device.form_factor":"internal"},"ports":[],"active_port":null},)"
                             R"({"index":8,"name":"six","sample_specification":"s16le 6ch 48000Hz"},)"
                             R"({"index":-4,"name":"negative"}])";
    EXPECT_EQ(pulseDefaultRoute(defaults("mono", ""), sinks, false),
              (AudioRoute{QStringLiteral("未知设备"), 7, true, 1}));
    EXPECT_EQ(pulseDefaultRoute(defaults("six", ""), sinks, false)->channels, 6);
    for (const QByteArray& info :
         {defaults("negative", ""), defaults("gone", ""), QByteArray(R"({"default_sink_name":null})"),
          QByteArray("pactl: Connection refused")})
        EXPECT_FALSE(pulseDefaultRoute(info, sinks, false)) << info.constData();
    EXPECT_FALSE(pulseDefaultRoute(tagsmith::test::fixtureBytes("pactl/info.json"), "Connection failure", false));
}

} // namespace
