#include "inspection/media/system_audio_hardware.h"

#include "base/main_thread.h"
#include "base/uptime.h"
#include "inspection/media/default_audio_route.h"
#include "inspection/media/media_error.h"
#include "inspection/media/media_runtime.h"
#include "inspection/media/recording_file.h"
#include "inspection/media/speaker_test_wave.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <algorithm>

namespace tagsmith::inspection::media {

namespace {

constexpr double kVolume = 0.7;
constexpr double kRouteCheckInterval = 1.0;
// A sound that stops this close to its end has played completely.
constexpr double kEndTolerance = 0.25;
// Lets the recording settle before it is played back.
constexpr double kReplayPause = 0.4;
// The level meter shows the 60 dB below full scale.
constexpr double kLevelRange = 60;

bool stillBuiltIn(const std::optional<AudioRoute>& route, int channels) {
    return route && route->builtIn && route->channels >= channels;
}

} // namespace

SystemAudioHardware::SystemAudioHardware(QString temporaryFolder, RouteReader readRoute, Log log)
    : m_temporaryFolder(std::move(temporaryFolder)), m_readRoute(std::move(readRoute)), m_log(std::move(log)) {}

SystemAudioHardware::SystemAudioHardware()
    : SystemAudioHardware(QDir::tempPath(), defaultAudioRoute, MediaRuntime::log) {}

AudioRoutes SystemAudioHardware::routes() {
    return {m_readRoute(false), m_readRoute(true)};
}

Result<void> SystemAudioHardware::start() {
    Q_ASSERT(!base::isMainThread());
    stop();
    Result<void> opened = open();
    if (!opened)
        stop();
    return opened;
}

Result<void> SystemAudioHardware::open() {
    const AudioRoutes current = routes();
    if (!current.usable())
        return mediaError(QStringLiteral("请先选用内置双声道扬声器和内置麦克风，拔掉耳机后重试。"));
    m_selectedRoutes = current;
    const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    m_recordingPath = QDir(m_temporaryFolder).filePath(QStringLiteral("MacBookMic-") + name + QStringLiteral(".caf"));
    log(QStringLiteral("audio.recorder.prepare.begin"));
    m_recorder = std::make_unique<PcmRecorder>(*m_recordingPath);
    if (!m_recorder->record())
        return mediaError(QStringLiteral("麦克风无法开始录音。"));
    log(QStringLiteral("audio.recorder.prepare.end"));
    m_player = std::make_unique<PcmPlayer>(speakerTestWave().mid(SpeakerTestWave::kHeaderSize),
                                           SpeakerTestWave::kChannels, kVolume);
    if (!m_player->play())
        return mediaError(QStringLiteral("测试音无法播放。"));
    m_started = base::uptime();
    m_duration = m_player->duration();
    m_phase = Phase::record;
    m_nextRouteCheck = m_started + kRouteCheckInterval;
    log(QStringLiteral("audio.stereo.started"));
    return {};
}

Result<AudioProgress> SystemAudioHardware::poll() {
    Q_ASSERT(!base::isMainThread());
    const double now = base::uptime();
    if (m_phase == Phase::idle)
        return mediaError(QStringLiteral("声音测试已停止，请重新开始。"));
    if (Result<void> watched = watchRoutes(now); !watched)
        return watched.error();
    if (m_phase == Phase::record)
        return pollRecording(now);
    if (m_phase == Phase::waiting)
        return pollWaiting(now);
    return pollReplay(now);
}

// Headphones plugged in, or another device chosen, would make the result meaningless.
Result<void> SystemAudioHardware::watchRoutes(double now) {
    if (now < m_nextRouteCheck)
        return {};
    m_nextRouteCheck = now + kRouteCheckInterval;
    const AudioRoutes current = routes();
    const bool unchanged = stillBuiltIn(current.output, 2) && stillBuiltIn(current.input, 1) &&
                           current.output->id == m_selectedRoutes->output->id &&
                           current.input->id == m_selectedRoutes->input->id;
    if (!unchanged)
        return mediaError(QStringLiteral("声音设备发生变化，已停止。请恢复内置输入 / 输出后重试。"));
    return {};
}

Result<AudioProgress> SystemAudioHardware::pollRecording(double now) {
    if (!m_recorder->isRecording())
        return mediaError(QStringLiteral("麦克风录音意外中断，请重试。"));
    const double power = m_recorder->averagePower();
    if (m_player->isPlaying())
        return AudioProgress::recording(m_player->currentTime(), std::max(0.0, power + kLevelRange));
    if (now - m_started < m_duration - kEndTolerance)
        return mediaError(QStringLiteral("测试音播放中断，请重试。"));
    m_recorder->stop();
    m_recorder.reset();
    m_player->stop();
    m_player.reset();
    m_phase = Phase::waiting;
    m_started = now;
    log(QStringLiteral("audio.recording.stopped; replay.pending"));
    return AudioProgress::preparingReplay();
}

Result<AudioProgress> SystemAudioHardware::pollWaiting(double now) {
    if (now - m_started < kReplayPause)
        return AudioProgress::preparingReplay();
    if (!m_recordingPath)
        return mediaError(QStringLiteral("录音文件不可用。"));
    Result<QByteArray> recording = readRecording(*m_recordingPath);
    if (!recording)
        return recording.error();
    m_player = std::make_unique<PcmPlayer>(std::move(recording).value(), 1, kVolume);
    if (!m_player->play())
        return mediaError(QStringLiteral("录音无法回放。"));
    m_started = now;
    m_duration = m_player->duration();
    m_phase = Phase::replay;
    log(QStringLiteral("audio.replay.started"));
    return AudioProgress::preparingReplay();
}

Result<AudioProgress> SystemAudioHardware::pollReplay(double now) {
    if (m_player->isPlaying())
        return AudioProgress::replaying();
    if (now - m_started < m_duration - kEndTolerance)
        return mediaError(QStringLiteral("录音回放中断，请重试。"));
    stop();
    log(QStringLiteral("audio.test.finished"));
    return AudioProgress::finished();
}

void SystemAudioHardware::stop() {
    Q_ASSERT(!base::isMainThread());
    log(QStringLiteral("audio.cleanup.begin"));
    if (m_player)
        m_player->stop();
    m_player.reset();
    if (m_recorder)
        m_recorder->stop();
    m_recorder.reset();
    m_phase = Phase::idle;
    m_selectedRoutes.reset();
    // The recording never leaves the machine and never outlives the test.
    if (m_recordingPath)
        QFile::remove(*m_recordingPath);
    m_recordingPath.reset();
    log(QStringLiteral("audio.cleanup.end"));
}

void SystemAudioHardware::log(const QString& event) const {
    if (m_log)
        m_log(event);
}

} // namespace tagsmith::inspection::media
