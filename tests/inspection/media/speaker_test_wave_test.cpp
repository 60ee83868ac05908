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

} // namespace
