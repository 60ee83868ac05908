#pragma once

#include "inspection/media/later_deleter.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>

namespace tagsmith::inspection::media {

// Plays 16-bit PCM from memory on the system's default output. Created,
// used and dropped on the audio queue, whose event loop feeds the device.
class PcmPlayer {
public:
    PcmPlayer(QByteArray samples, int channels, double volume);
    PcmPlayer(const PcmPlayer&) = delete;
    PcmPlayer& operator=(const PcmPlayer&) = delete;

    // False when the output cannot be opened.
    bool play();
    bool isPlaying() const;
    // Seconds of sound handed to the output so far.
    double currentTime() const;
    double duration() const;
    void stop();

private:
    QAudioFormat m_format;
    QByteArray m_samples;
    double m_volume;
    LaterPtr<QBuffer> m_source;
    LaterPtr<QAudioSink> m_sink;
};

} // namespace tagsmith::inspection::media
