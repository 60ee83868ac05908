#include "inspection/media/speaker_test_wave.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tagsmith::inspection::media {

namespace {

// A, C sharp and E: one rising chord, one pitch per second.
constexpr std::array kFrequencies = {440.0, 554.365, 659.255};
constexpr double kAmplitude = 0.25 * 32767;
// Fading in and out avoids clicks that would sound like a faulty speaker.
constexpr double kFadeIn = 0.04;
constexpr double kFadeOut = 0.06;
constexpr double kToneSeconds = 3.0;

void putLE16(char* at, quint16 value) {
    qToLittleEndian(value, at);
}

void putLE32(char* at, quint32 value) {
    qToLittleEndian(value, at);
}

void writeHeader(char* header) {
    using Wave = SpeakerTestWave;
    std::copy_n("RIFF", 4, header);
    putLE32(header + 4, 36 + Wave::kDataSize);
    std::copy_n("WAVEfmt ", 8, header + 8);
    putLE32(header + 16, 16);
    putLE16(header + 20, 1);
    putLE16(header + 22, Wave::kChannels);
    putLE32(header + 24, Wave::kSampleRate);
    putLE32(header + 28, Wave::kSampleRate * Wave::kChannels * 2);
    putLE16(header + 32, Wave::kChannels * 2);
    putLE16(header + 34, 16);
    std::copy_n("data", 4, header + 36);
    putLE32(header + 40, Wave::kDataSize);
}

} // namespace

qint16 SpeakerTestWave::tone(int frame) {
    const double t = double(frame) / kSampleRate;
    const double frequency = kFrequencies[std::min(std::size_t(t), kFrequencies.size() - 1)];
    const double envelope = std::clamp(std::min(t / kFadeIn, (kToneSeconds - t) / kFadeOut), 0.0, 1.0);
    return qint16(std::sin(2 * std::numbers::pi * frequency * t) * kAmplitude * envelope);
}

QByteArray speakerTestWave() {
    using Wave = SpeakerTestWave;
    QByteArray wave(Wave::kFileSize, '\0');
    writeHeader(wave.data());
    char* frames = wave.data() + Wave::kHeaderSize;
    for (int i = 0; i < Wave::kToneFrames; ++i) {
        putLE16(frames + 4 * i, quint16(Wave::tone(i)));
        putLE16(frames + 4 * (Wave::kRightStart + i) + 2, quint16(Wave::tone(i)));
    }
    return wave;
}

} // namespace tagsmith::inspection::media
