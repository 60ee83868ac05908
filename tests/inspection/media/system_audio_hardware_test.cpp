#include "inspection/media/system_audio_hardware.h"

#include "inspection/media/audio_inspection.h"
#include "inspection/media/audio_level_indicator.h"
#include "inspection/media/default_audio_route.h"
#include "inspection/media/recording_file.h"
#include "support/media_page_probe.h"
#include "support/pulse_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>
#include <future>

using namespace tagsmith::inspection;
using namespace tagsmith::inspection::media;
using namespace tagsmith::test;
using namespace std::chrono_literals;
using tagsmith::Result;

namespace {

// Seconds of the recording in which the 20 ms loudness stands clearly above silence.
double secondsOfTone(const QByteArray& samples) {
    constexpr int kWindow = RecordingFile::kSampleRate / 50;
    int loud = 0;
    for (qsizetype start = 0; 2 * (start + kWindow) <= samples.size(); start += kWindow) {
        double energy = 0;
        for (int i = 0; i < kWindow; ++i)
            energy += std::pow(qFromLittleEndian<qint16>(samples.constData() + 2 * (start + i)), 2);
        loud += std::sqrt(energy / kWindow) / 32768 > 0.02;
    }
    return loud / 50.0;
}

// The real speakers and microphone: a private sound server whose "built-in"
// output is recorded by its "built-in" input.
class SystemAudio : public testing::Test, public MediaPageScene {
protected:
    void SetUp() override {
        // CI installs the sound server; there a missing one is a failure, not a reason to skip.
        if (!server.running() && qEnvironmentVariableIsSet("CI"))
            FAIL() << server.whyNotRunning().toStdString();
        if (!server.running())
            GTEST_SKIP() << server.whyNotRunning().toStdString();
        ASSERT_TRUE(server.restoreDefaults());
    }

    QStringList recordings() const { return QDir(folder.path()).entryList({QStringLiteral("MacBookMic-*.caf")}); }
    template <typename Work> auto onQueue(Work work) {
        std::packaged_task<decltype(work())()> task(work);
        queue.async([&task] { task(); });
        return task.get_future().get();
    }

    PulseServer& server = PulseServer::shared();
    QTemporaryDir folder;
    std::shared_ptr<SystemAudioHardware> hardware =
        std::make_shared<SystemAudioHardware>(folder.path(), defaultAudioRoute, record.log());
};

TEST_F(SystemAudio, PageRecordsTheToneThenReplaysAndDeletesIt) {
    const auto page =
        std::make_shared<AudioInspection>(AudioInspectionSetup{setup<AudioHardware>(hardware, kMediaTimeout)});
    page->setResults(results);
    const MediaPageProbe probe{page->view()};
    const auto* meter = page->view()->findChild<AudioLevelIndicator*>();
    page->start();
    double loudest = 0;
    const auto speakersHeard = [&] {
        loudest = std::max(loudest, meter->value());
        return (*results)[InspectionItem::rightSpeaker].state == InspectionState::needsConfirmation;
    };
    ASSERT_TRUE(waitUntil(speakersHeard, 20s)) << probe.status().toStdString();
    ASSERT_EQ(recordings().size(), 1);
    const Result<QByteArray> recording = readRecording(QDir(folder.path()).filePath(recordings().first()));
    ASSERT_TRUE(recording);
    EXPECT_GE(secondsOfTone(*recording), 4.5) << "of the 6 s of tone";
    EXPECT_GT(loudest, 20) << "the meter followed the tone";

    ASSERT_TRUE(probe.shows(QStringLiteral("播放与录音回放已完成。\n请在下方逐项确认：左声道、右声道、麦克风。"), 20s))
        << probe.status().toStdString();
    ASSERT_TRUE(waitUntil([&] { return probe.canStart(); }));
    EXPECT_TRUE(recordings().isEmpty()) << "the recording never outlives the test";
    EXPECT_TRUE(record.events().contains(QStringLiteral("audio.replay.started")));
}

TEST_F(SystemAudio, ChangedOutputStopsTheTestAndAnExternalOneIsRefused) {
    ASSERT_TRUE(onQueue([this] { return hardware->start(); }));
    ASSERT_TRUE(server.addExternalSink(QStringLiteral("usb_out")));
    ASSERT_TRUE(server.pactl({QStringLiteral("set-default-sink"), QStringLiteral("usb_out")}));
    QElapsedTimer clock;
    clock.start();
    Result<AudioProgress> answer = AudioProgress::recording(0, 0);
    waitUntil([&] { return !(answer = onQueue([this] { return hardware->poll(); })); });
    ASSERT_FALSE(answer);
    EXPECT_EQ(answer.error().description, QStringLiteral("声音设备发生变化，已停止。请恢复内置输入 / 输出后重试。"));
    EXPECT_LT(clock.elapsed(), 2000) << "the devices are checked every second";
    onQueue([this] {
        hardware->stop();
        return true;
    });
    EXPECT_TRUE(recordings().isEmpty());

    const Result<void> refused = onQueue([this] { return hardware->start(); });
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().description, QStringLiteral("请先选用内置双声道扬声器和内置麦克风，拔掉耳机后重试。"));
    EXPECT_TRUE(recordings().isEmpty());
}

} // namespace
