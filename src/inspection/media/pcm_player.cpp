#include "inspection/media/pcm_player.h"

#include <QMediaDevices>

namespace tagsmith::inspection::media {

namespace {

constexpr int kSampleRate = 44100;
// Small enough that the position follows what is heard, large enough that
// a busy moment on the audio queue does not starve the output.
constexpr double kBufferSeconds = 0.12;

} // namespace

PcmPlayer::PcmPlayer(QByteArray samples, int channels, double volume)
    : m_samples(std::move(samples)), m_volume(volume) {
    m_format.setSampleRate(kSampleRate);
    m_format.setChannelCount(channels);
    m_format.setSampleFormat(QAudioFormat::Int16);
}

bool PcmPlayer::play() {
    // The buffer shares the samples, so it never reads freed memory, even if
    // the player goes before the output's deferred deletion.
    m_source.reset(new QBuffer);
    m_source->setData(m_samples);
    m_source->open(QIODevice::ReadOnly);
    m_sink.reset(new QAudioSink(QMediaDevices::defaultAudioOutput(), m_format));
    m_sink->setBufferSize(m_format.bytesForDuration(qint64(kBufferSeconds * 1e6)));
    m_sink->setVolume(m_volume);
    m_sink->start(m_source.get());
    return m_sink->error() == QAudio::NoError && m_sink->state() != QAudio::StoppedState;
}

bool PcmPlayer::isPlaying() const {
    if (!m_sink)
        return false;
    // An idle output with samples still to come only ran dry for a moment.
    const QAudio::State state = m_sink->state();
    return state == QAudio::ActiveState || (state == QAudio::IdleState && !m_source->atEnd());
}

double PcmPlayer::currentTime() const {
    return m_sink ? double(m_sink->processedUSecs()) / 1e6 : 0;
}

double PcmPlayer::duration() const {
    return double(m_format.durationForBytes(qint32(m_samples.size()))) / 1e6;
}

void PcmPlayer::stop() {
    if (m_sink)
        m_sink->stop();
    m_sink.reset();
    m_source.reset();
}

} // namespace tagsmith::inspection::media
