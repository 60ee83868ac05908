#pragma once

#include "inspection/media/audio_routes.h"

#include <QByteArray>

#include <optional>

namespace tagsmith::platform {

// The default device from what `pactl -f json` prints for `info` and for
// `list sinks` (input false) or `list sources` (input true); the same output
// comes from PulseAudio and from PipeWire's PulseAudio service. None when the
// default device is not listed or the text is not such output.
std::optional<inspection::media::AudioRoute> pulseDefaultRoute(const QByteArray& info, const QByteArray& devices,
                                                               bool input);

} // namespace tagsmith::platform
