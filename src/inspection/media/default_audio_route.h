#pragma once

#include "inspection/media/audio_routes.h"

#include <optional>

namespace tagsmith::inspection::media {

// The system's current default input (input true) or output device; none
// when there is no such device or the system cannot be asked. Built in means
// a device of the machine itself, and for an output one that does not lead
// to headphones. Blocks briefly; call it off the main thread. One definition
// per platform.
std::optional<AudioRoute> defaultAudioRoute(bool input);

} // namespace tagsmith::inspection::media
