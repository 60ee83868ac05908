#pragma once

#include "base/result.h"

#include <QFile>
#include <QIODevice>
#include <QString>

namespace tagsmith::inspection::media {

// The temporary microphone recording: 16-bit little-endian mono PCM at
// 44.1 kHz in a Core Audio Format file, written as the samples arrive and
// metered on the way. Lives on the audio queue, like the recorder feeding it.
class RecordingFile : public QIODevice {
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kBytesPerSample = 2;
    // A recording is a few seconds long; anything far longer is not ours.
    static constexpr qint64 kMaxSamples = qint64(kSampleRate) * 60;

    explicit RecordingFile(const QString& path);
    ~RecordingFile() override;

    // Creates the file with its header; false when it cannot be written.
    bool create();
    // Writes the final length into the header and closes the file.
    void finish();

    // The average power of the samples since the last call, in dB of full
    // scale: 0 for the loudest square wave, -160 for silence.
    double takeAveragePower();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    QFile m_file;
    qint64 m_dataBytes = 0;
    double m_sumOfSquares = 0; // since the last takeAveragePower
    qint64 m_meteredSamples = 0;
};

// The samples of a recording that RecordingFile wrote; an error for any other file.
Result<QByteArray> readRecording(const QString& path);

} // namespace tagsmith::inspection::media
