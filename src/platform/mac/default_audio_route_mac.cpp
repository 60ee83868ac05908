#include "inspection/media/default_audio_route.h"

#include <CoreAudio/CoreAudio.h>

#include <QString>

#include <memory>

namespace tagsmith::inspection::media {

namespace {

AudioObjectPropertyAddress address(AudioObjectPropertySelector selector, AudioObjectPropertyScope scope) {
    return {selector, scope, kAudioObjectPropertyElementMain};
}

template <typename T>
std::optional<T> property(AudioObjectID object, AudioObjectPropertySelector selector, AudioObjectPropertyScope scope) {
    const AudioObjectPropertyAddress where = address(selector, scope);
    T value{};
    UInt32 size = sizeof(value);
    if (AudioObjectGetPropertyData(object, &where, 0, nullptr, &size, &value) != noErr || size != sizeof(value))
        return std::nullopt;
    return value;
}

QString deviceName(AudioObjectID device) {
    const std::optional<CFStringRef> name =
        property<CFStringRef>(device, kAudioObjectPropertyName, kAudioObjectPropertyScopeGlobal);
    if (!name || *name == nullptr)
        return QStringLiteral("未知设备");
    const QString text = QString::fromCFString(*name);
    CFRelease(*name);
    return text;
}

// The channels of every stream of the device in one direction.
int channelCount(AudioObjectID device, AudioObjectPropertyScope scope) {
    const AudioObjectPropertyAddress where = address(kAudioDevicePropertyStreamConfiguration, scope);
    UInt32 size = 0;
    if (AudioObjectGetPropertyDataSize(device, &where, 0, nullptr, &size) != noErr || size < sizeof(AudioBufferList))
        return 0;
    std::unique_ptr<char[]> storage(new char[size]);
    auto* buffers = reinterpret_cast<AudioBufferList*>(storage.get());
    if (AudioObjectGetPropertyData(device, &where, 0, nullptr, &size, buffers) != noErr)
        return 0;
    int channels = 0;
    for (UInt32 i = 0; i < buffers->mNumberBuffers; ++i)
        channels += int(buffers->mBuffers[i].mNumberChannels);
    return channels;
}

// The built-in output switches its data source to headphones when they are plugged in.
bool playsOnHeadphones(AudioObjectID device) {
    const std::optional<UInt32> source =
        property<UInt32>(device, kAudioDevicePropertyDataSource, kAudioDevicePropertyScopeOutput);
    return source && *source == 'hdpn';
}

} // namespace

std::optional<AudioRoute> defaultAudioRoute(bool input) {
    const std::optional<AudioObjectID> device = property<AudioObjectID>(
        kAudioObjectSystemObject,
        input ? kAudioHardwarePropertyDefaultInputDevice : kAudioHardwarePropertyDefaultOutputDevice,
        kAudioObjectPropertyScopeGlobal);
    if (!device || *device == kAudioObjectUnknown)
        return std::nullopt;
    const std::optional<UInt32> transport =
        property<UInt32>(*device, kAudioDevicePropertyTransportType, kAudioObjectPropertyScopeGlobal);
    AudioRoute route;
    route.name = deviceName(*device);
    route.id = *device;
    route.builtIn = transport == kAudioDeviceTransportTypeBuiltIn && (input || !playsOnHeadphones(*device));
    route.channels = channelCount(*device, input ? kAudioDevicePropertyScopeInput : kAudioDevicePropertyScopeOutput);
    return route;
}

} // namespace tagsmith::inspection::media
