#include "inspection/media/speaker_test_wave.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <cmath>

using tagsmith::inspection::media::speakerTestWave;
using Wave = tagsmith::inspection::media::SpeakerTestWave;

namespace {

class SpeakerTestWaveTest : public testing::Test {
protected:
    qint16 sample(int frame, int channel) const {
        return qFromLittleEndian<qint16>(wave.constData() + Wave::kHeaderSize + 4 * frame + 2 * channel);
    }
    int peak(int channel, int from, int to) const {
        int loudest = 0;
        for (int frame = from; frame < to; ++frame)
            loudest = std::max(loudest, std::abs(int(sample(frame, channel))));
        return loudest;
    }
    // A sine crosses zero twice per period; counted between two points that avoid the fades.
    double frequency(int channel, int from, int to) const {
        int crossings = 0;
        for (int frame = from + 1; frame < to; ++frame)
            crossings += (sample(frame - 1, channel) < 0) != (sample(frame, channel) < 0);
        return crossings / 2.0 / (double(to - from) / Wave::kSampleRate);
    }

    const QByteArray wave = speakerTestWave();
};

TEST_F(SpeakerTestWaveTest, HeaderDescribesSevenSecondsOfStereoPcm) {
    ASSERT_EQ(wave.size(), 1234844);
    const QByteArray expected = QByteArray::fromHex("52494646"
                                                    "94d71200"
                                                    "57415645666d7420"
                                                    "10000000"
                                                    "0100"
                                                    "0200"
                                                    "44ac0000"
                                                    "10b10200"
                                                    "0400"
                                                    "1000"
                                                    "64617461"
                                                    "70d71200");
    EXPECT_EQ(wave.left(44).toHex(), expected.toHex());
}

TEST_F(SpeakerTestWaveTest, EachSideSoundsOnlyInItsOwnThreeSeconds) {
    EXPECT_EQ(sample(0, 0), 0) << "the fade-in starts from silence";
    EXPECT_EQ(sample(0, 1), 0);
    EXPECT_EQ(peak(1, 0, Wave::kRightStart), 0) << "right silent for the first 4 s";
    EXPECT_EQ(peak(0, Wave::kToneFrames, Wave::kFrames), 0) << "left silent for the last 4 s";
    EXPECT_EQ(peak(1, Wave::kToneFrames, Wave::kRightStart), 0);
    const int full = int(0.25 * 32767);
    EXPECT_GE(peak(0, 0, Wave::kToneFrames), full - 1);
    EXPECT_LE(peak(0, 0, Wave::kToneFrames), full);
    EXPECT_GE(peak(1, Wave::kRightStart, Wave::kFrames), full - 1);
}

TEST_F(SpeakerTestWaveTest, EachSecondHasItsPitch) {
    const double expected[] = {440.0, 554.365, 659.255};
    for (int second = 0; second < 3; ++second) {
        const int from = second * Wave::kSampleRate + 4410;
        const int to = from + 35280; // 0.8 s inside the second
        EXPECT_NEAR(frequency(0, from, to), expected[second], 2.0) << "left, second " << second;
        EXPECT_NEAR(frequency(1, Wave::kRightStart + from, Wave::kRightStart + to), expected[second], 2.0)
            << "right, second " << second;
    }
}

TEST_F(SpeakerTestWaveTest, FadesInOverFortyAndOutOverSixtyMilliseconds) {
    const int full = int(0.25 * 32767);
    const int fadeIn = Wave::kSampleRate * 40 / 1000;
    const int fadeOut = Wave::kSampleRate * 60 / 1000;
    EXPECT_LT(peak(0, 0, fadeIn / 4), full / 4 + 1);
    EXPECT_GT(peak(0, fadeIn, fadeIn + 441), full * 0.98);
    EXPECT_LT(peak(0, Wave::kToneFrames - fadeOut / 4, Wave::kToneFrames), full / 4 + 1);
    EXPECT_EQ(Wave::tone(Wave::kToneFrames), 0) << "the burst ends in silence";
    EXPECT_EQ(sample(Wave::kFrames - 1, 1), Wave::tone(Wave::kToneFrames - 1));
}

} // namespace
