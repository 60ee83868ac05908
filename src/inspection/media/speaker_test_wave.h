#pragma once

#include <QByteArray>

namespace tagsmith::inspection::media {

// The stereo test tone as a RIFF/WAVE file in memory: 3 s on the left
// channel, 1 s of silence, 3 s on the right channel; 44.1 kHz, 16-bit.
// Each 3 s burst rises through three pitches so the operator can tell a
// working speaker from a rattling one.
struct SpeakerTestWave {
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kHeaderSize = 44;
    static constexpr int kToneFrames = 3 * kSampleRate;
    static constexpr int kGapFrames = kSampleRate;
    static constexpr int kRightStart = kToneFrames + kGapFrames;
    static constexpr int kFrames = kRightStart + kToneFrames;
    static constexpr int kDataSize = kFrames * kChannels * 2;
    static constexpr int kFileSize = kHeaderSize + kDataSize;

    // One sample of a burst, frame counted from the burst's start.
    static qint16 tone(int frame);
};

QByteArray speakerTestWave();

} // namespace tagsmith::inspection::media
