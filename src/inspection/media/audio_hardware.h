#pragma once

#include "base/result.h"
#include "inspection/media/audio_progress.h"
#include "inspection/media/audio_routes.h"

namespace tagsmith::inspection::media {

// The speakers and the microphone. Every call blocks and runs on the audio
// queue, never on the main thread.
class AudioHardware {
public:
    virtual ~AudioHardware() = default;

    virtual AudioRoutes routes() = 0;
    virtual Result<void> start() = 0;
    virtual Result<AudioProgress> poll() = 0;
    // Also deletes the temporary recording.
    virtual void stop() = 0;
};

} // namespace tagsmith::inspection::media
