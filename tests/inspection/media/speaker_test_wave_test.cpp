#include "inspection/media/speaker_test_wave.h"

#include <gtest/gtest.h>

#include <QtEndian>

using tagsmith::inspection::media::speakerTestWave;
using Wave = tagsmith::inspection::media::SpeakerTestWave;

namespace {

const QByteArray kWave = speakerTestWave();
const int kFull = int(0.25 * 32767);

qint16 sample(int frame, int channel) {
    return qFromLittleEndian<qint16>(kWave.constData() + Wave::kHeaderSize + 4 * frame + 2 * channel);
}

int peak(int channel, int from, int to) {
    int loudest = 0;
    for (int frame = from; frame < to; ++frame)
        loudest = std::max(loudest, std::abs(int(sample(frame, channel))));
    return loudest;
}

// A sine crosses zero twice per period.
double frequency(int channel, int from, int to) {
    int crossings = 0;
    for (int frame = from + 1; frame < to; ++frame)
        crossings += (sample(frame - 1, channel) < 0) != (sample(frame, channel) < 0);
    return crossings / 2.0 / (double(to - from) / Wave::kSampleRate);
}

TEST(SpeakerTestWave, HeaderDescribesSevenSecondsOfStereoPcm) {
    ASSERT_EQ(kWave.size(), 1234844);
    EXPECT_EQ(kWave.left(44).toHex(),
              "5249464694d7120057415645666d7420100000000100020044ac000010b10200040010006461746170d71200");
}

TEST(SpeakerTestWave, EachSideSoundsOnlyInItsOwnThreeSeconds) {
    EXPECT_EQ(sample(0, 0), 0) << "the fade-in starts from silence";
    EXPECT_EQ(peak(1, 0, Wave::kRightStart), 0) << "right silent for the first 4 s";
    EXPECT_EQ(peak(0, Wave::kToneFrames, Wave::kFrames), 0) << "left silent for the last 4 s";
    EXPECT_EQ(peak(0, 0, Wave::kToneFrames), kFull);
    EXPECT_EQ(peak(1, Wave::kRightStart, Wave::kFrames), kFull);
}

TEST(SpeakerTestWave, EachSecondHasItsPitchAndTheBurstsFade) {
    const double expected[] = {440.0, 554.365, 659.255};
    for (int second = 0; second < 3; ++second) {
        const int from = second * Wave::kSampleRate + 4410; // 0.8 s inside the second
        const int to = from + 35280;
        EXPECT_NEAR(frequency(0, from, to), expected[second], 2.0) << second;
        EXPECT_NEAR(frequency(1, Wave::kRightStart + from, Wave::kRightStart + to), expected[second], 2.0) << second;
    }
    EXPECT_LE(peak(0, 0, 441), kFull / 4) << "10 ms into the 40 ms fade-in";
    EXPECT_GT(peak(0, 1764, 2205), kFull * 0.98) << "fully up after 40 ms";
    EXPECT_LE(peak(0, Wave::kToneFrames - 661, Wave::kToneFrames), kFull / 4) << "15 ms before the end of a 60 ms fade";
    EXPECT_EQ(sample(Wave::kFrames - 1, 1), Wave::tone(Wave::kToneFrames - 1));
}

} // namespace
