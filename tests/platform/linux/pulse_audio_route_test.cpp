#include "platform/linux/pulse_audio_route.h"

#include "support/paths.h"

#include <gtest/gtest.h>

#include <QFile>

using tagsmith::inspection::media::AudioRoute;
using tagsmith::platform::pulseDefaultRoute;
using tagsmith::test::sourcePath;

namespace {

QByteArray fixture(const QString& name) {
    QFile file(sourcePath(QStringLiteral("tests/fixtures/pactl/") + name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray defaults(const char* sink, const char* source) {
    return QByteArray(R"({"default_sink_name":")") + sink + R"(","default_source_name":")" + source + R"("})";
}

// Captured from a PulseAudio 16.1 server with a null sink marked internal
// ("VirtualOut"), a plain one ("USB-Out") and a remapped internal source.
TEST(PulseDefaultRoute, ReadsTheDefaultSinkAndSource) {
    const QByteArray info = fixture(QStringLiteral("info.json"));
    EXPECT_EQ(pulseDefaultRoute(info, fixture(QStringLiteral("sinks.json")), false),
              (AudioRoute{QStringLiteral("VirtualOut"), 0, true, 2}));
    EXPECT_EQ(pulseDefaultRoute(info, fixture(QStringLiteral("sources.json")), true),
              (AudioRoute{QStringLiteral("Built-in Microphone"), 3, true, 2}));
    const std::optional<AudioRoute> usb =
        pulseDefaultRoute(defaults("usb_out", "virt_mic"), fixture(QStringLiteral("sinks.json")), false);
    ASSERT_TRUE(usb);
    EXPECT_FALSE(usb->builtIn) << "a device not marked internal is external";
    const std::optional<AudioRoute> monitor =
        pulseDefaultRoute(defaults("usb_out", "virt_mic"), fixture(QStringLiteral("sources.json")), true);
    ASSERT_TRUE(monitor);
    EXPECT_FALSE(monitor->builtIn);
}

TEST(PulseDefaultRoute, LaptopSpeakersCountOnlyWhileNoHeadphonesArePlugged) {
    const QByteArray laptop = defaults("alsa_output.pci-0000_00_1f.3.analog-stereo", "none");
    QByteArray sinks = fixture(QStringLiteral("sinks-laptop-headphones.json"));
    const std::optional<AudioRoute> headphones = pulseDefaultRoute(laptop, sinks, false);
    ASSERT_TRUE(headphones);
    EXPECT_EQ(headphones->name, QStringLiteral("内置音频 模拟立体声"));
    EXPECT_FALSE(headphones->builtIn);
    sinks.replace(R"("active_port":"analog-output-headphones")", R"("active_port":"analog-output-speaker")");
    EXPECT_EQ(pulseDefaultRoute(laptop, sinks, false), (AudioRoute{QStringLiteral("内置音频 模拟立体声"), 0, true, 2}));
    EXPECT_FALSE(pulseDefaultRoute(defaults("alsa_output.usb-Generic_USB_Audio-00.analog-stereo", "none"), sinks, false)
                     ->builtIn);
}

TEST(PulseDefaultRoute, NothingUsableGivesNone) {
    const QByteArray sinks = fixture(QStringLiteral("sinks.json"));
    const QByteArray cases[][2] = {
        {defaults("gone", "gone"), sinks},
        {R"({"default_sink_name":null})", sinks},
        {fixture(QStringLiteral("info.json")), "pactl: Connection refused"},
        {"", ""},
        {fixture(QStringLiteral("info.json")), R"([{"name":"virt_out","index":-4}])"},
    };
    for (const auto& [info, devices] : cases)
        EXPECT_FALSE(pulseDefaultRoute(info, devices, false)) << info.constData() << " / " << devices.constData();
}

TEST(PulseDefaultRoute, MonoAndNamelessDevices) {
    const QByteArray sinks = R"([{"index":7,"name":"mono","description":"","channel_map":"mono",)"
                             R"("properties":{"device.form_factor":"internal"},"ports":[],"active_port":null},)"
                             R"({"index":8,"name":"spec","sample_specification":"s16le 6ch 48000Hz"}])";
    EXPECT_EQ(pulseDefaultRoute(defaults("mono", ""), sinks, false),
              (AudioRoute{QStringLiteral("未知设备"), 7, true, 1}));
    EXPECT_EQ(pulseDefaultRoute(defaults("spec", ""), sinks, false)->channels, 6);
}

} // namespace
