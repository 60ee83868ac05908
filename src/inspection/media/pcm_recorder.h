#pragma once

#include "inspection/media/later_deleter.h"
#include "inspection/media/recording_file.h"

#include <QAudioSource>
#include <QString>

#include <memory>

namespace tagsmith::inspection::media {

// Records the system's default input as 44.1 kHz mono 16-bit PCM into a
// recording file, with a level meter. Created, used and dropped on the audio
// queue, whose event loop moves the samples.
class PcmRecorder {
public:
    explicit PcmRecorder(const QString& path);
    PcmRecorder(const PcmRecorder&) = delete;
    PcmRecorder& operator=(const PcmRecorder&) = delete;

    // False when the file or the input cannot be opened.
    bool record();
    bool isRecording() const;
    // The input's average power since the last call, in dB of full scale.
    double averagePower();
    // Ends the recording and completes the file.
    void stop();

private:
    LaterPtr<RecordingFile> m_file;
    LaterPtr<QAudioSource> m_source;
};

} // namespace tagsmith::inspection::media
