#include "inspection/media/pcm_recorder.h"

#include <QMediaDevices>

namespace tagsmith::inspection::media {

namespace {

// Large enough to ride out a busy moment on the audio queue.
constexpr double kBufferSeconds = 0.1;

} // namespace

PcmRecorder::PcmRecorder(const QString& path) : m_file(new RecordingFile(path)) {}

bool PcmRecorder::record() {
    if (!m_file->create())
        return false;
    QAudioFormat format;
    format.setSampleRate(RecordingFile::kSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    m_source.reset(new QAudioSource(QMediaDevices::defaultAudioInput(), format));
    m_source->setBufferSize(format.bytesForDuration(qint64(kBufferSeconds * 1e6)));
    m_source->start(m_file.get());
    return isRecording();
}

bool PcmRecorder::isRecording() const {
    // The input leaves the active state only when it fails or the file refuses samples.
    return m_source && m_source->state() == QAudio::ActiveState && m_source->error() == QAudio::NoError;
}

double PcmRecorder::averagePower() {
    return m_file ? m_file->takeAveragePower() : -160;
}

void PcmRecorder::stop() {
    if (m_source)
        m_source->stop();
    m_source.reset();
    if (m_file)
        m_file->finish();
}

} // namespace tagsmith::inspection::media
