#pragma once

#include "inspection/media/audio_hardware.h"
#include "inspection/media/pcm_player.h"
#include "inspection/media/pcm_recorder.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace tagsmith::inspection::media {

// The speakers and the microphone on the system's default devices: the test
// tone plays while the microphone records, then the recording is played back
// and deleted. Every call runs on the audio queue.
class SystemAudioHardware final : public AudioHardware {
public:
    using RouteReader = std::function<std::optional<AudioRoute>(bool input)>;
    using Log = std::function<void(const QString&)>;

    // The recording goes into temporaryFolder.
    explicit SystemAudioHardware(QString temporaryFolder, RouteReader readRoute, Log log);
    // The user's temporary folder, the system's devices and the media log.
    SystemAudioHardware();

    AudioRoutes routes() override;
    Result<void> start() override;
    Result<AudioProgress> poll() override;
    void stop() override;

private:
    enum class Phase { idle, record, waiting, replay };

    Result<void> open();
    Result<void> watchRoutes(double now);
    Result<AudioProgress> pollRecording(double now);
    Result<AudioProgress> pollWaiting(double now);
    Result<AudioProgress> pollReplay(double now);
    void log(const QString& event) const;

    QString m_temporaryFolder;
    RouteReader m_readRoute;
    Log m_log;
    std::unique_ptr<PcmPlayer> m_player;
    std::unique_ptr<PcmRecorder> m_recorder;
    std::optional<QString> m_recordingPath;
    Phase m_phase = Phase::idle;
    double m_started = 0;  // uptime when the current sound began
    double m_duration = 0; // seconds of the current sound
    double m_nextRouteCheck = 0;
    std::optional<AudioRoutes> m_selectedRoutes; // the devices the test started on
};

} // namespace tagsmith::inspection::media
