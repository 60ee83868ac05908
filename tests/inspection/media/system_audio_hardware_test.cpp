#include "inspection/media/system_audio_hardware.h"

#include "inspection/inspection_results.h"
#include "inspection/media/audio_inspection_page.h"
#include "inspection/media/audio_level_widget.h"
#include "inspection/media/default_audio_route.h"
#include "inspection/media/recording_file.h"
#include "support/fake_media_hardware.h"
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
    const qsizetype count = samples.size() / 2;
    int loud = 0;
    for (qsizetype start = 0; start + kWindow <= count; start += kWindow) {
        double energy = 0;
        for (int i = 0; i < kWindow; ++i) {
            const double sample = qFromLittleEndian<qint16>(samples.constData() + 2 * (start + i));
            energy += sample * sample;
        }
        loud += std::sqrt(energy / kWindow) / 32768 > 0.02;
    }
    return loud / 50.0;
}

// The real speakers and microphone: a private sound server whose "built-in"
// output is recorded by its "built-in" input.
class SystemAudio : public testing::Test {
protected:
    void SetUp() override {
        server = &PulseServer::shared();
        if (!server->running()) {
            // CI installs the sound server; there a missing one is a failure, not a reason to skip.
            if (qEnvironmentVariableIsSet("CI"))
                FAIL() << server->whyNotRunning().toStdString();
            GTEST_SKIP() << server->whyNotRunning().toStdString();
        }
        ASSERT_TRUE(server->restoreDefaults());
    }

    QStringList recordings() const {
        return QDir(folder.path()).entryList({QStringLiteral("MacBookMic-*.caf")}, QDir::Files);
    }
    template <typename Work> auto onQueue(Work work) {
        std::promise<decltype(work())> done;
        std::future<decltype(work())> answer = done.get_future();
        queue.async([&done, &work] { done.set_value(work()); });
        EXPECT_EQ(answer.wait_for(10s), std::future_status::ready);
        return answer.get();
    }

    PulseServer* server = nullptr;
    QTemporaryDir folder;
    EventLog log;
    tagsmith::base::SerialQueue queue{QStringLiteral("test.audio-hardware")};
};

TEST_F(SystemAudio, PageRecordsTheToneThenReplaysAndDeletesIt) {
    AudioInspectionSetup setup;
    setup.hardware = std::make_shared<SystemAudioHardware>(folder.path(), defaultAudioRoute, log.writer());
    setup.queue = &queue;
    setup.permission = [](std::function<void(bool)> answer) { answer(true); };
    setup.log = log.writer();
    auto results = std::make_shared<InspectionResults>();
    auto page = std::make_shared<AudioInspection>(setup);
    page->setResults(results);
    const MediaPageProbe probe{page->view()};
    const auto* meter = page->view()->findChild<AudioLevelIndicator*>();

    page->start();
    double loudest = 0;
    ASSERT_TRUE(waitUntil(
        [&] {
            loudest = std::max(loudest, meter->value());
            return (*results)[InspectionItem::rightSpeaker].state == InspectionState::needsConfirmation;
        },
        20s))
        << probe.status().toStdString();
    const QStringList files = recordings();
    ASSERT_EQ(files.size(), 1);
    const Result<QByteArray> recording = readRecording(QDir(folder.path()).filePath(files.first()));
    ASSERT_TRUE(recording);
    EXPECT_GE(secondsOfTone(*recording), 4.5) << "of the 6 s of tone";
    EXPECT_GT(loudest, 20) << "the meter followed the tone";

    ASSERT_TRUE(probe.shows(QStringLiteral("播放与录音回放已完成。\n请在下方逐项确认：左声道、右声道、麦克风。"), 20s))
        << probe.status().toStdString();
    EXPECT_EQ((*results)[InspectionItem::microphone].state, InspectionState::needsConfirmation);
    ASSERT_TRUE(waitUntil([&] { return probe.canStart(); }));
    EXPECT_TRUE(recordings().isEmpty()) << "the recording never outlives the test";
    const QStringList events = log.events();
    for (const char* event : {"audio.stereo.started", "audio.recording.stopped; replay.pending", "audio.replay.started",
                              "audio.test.finished", "audio.release.confirmed"})
        EXPECT_TRUE(events.contains(QString::fromLatin1(event))) << event;
}

TEST_F(SystemAudio, ChangedOutputStopsTheTestAndAnExternalOneIsRefused) {
    SystemAudioHardware hardware(folder.path(), defaultAudioRoute, log.writer());
    const Result<void> started = onQueue([&] { return hardware.start(); });
    ASSERT_TRUE(started) << started.error().description.toStdString();
    ASSERT_TRUE(server->addExternalSink(QStringLiteral("usb_out")));
    ASSERT_TRUE(server->pactl({QStringLiteral("set-default-sink"), QStringLiteral("usb_out")}));
    QElapsedTimer clock;
    clock.start();
    Result<AudioProgress> answer = AudioProgress::recording(0, 0);
    waitUntil([&] { return !(answer = onQueue([&] { return hardware.poll(); })); });
    ASSERT_FALSE(answer);
    EXPECT_EQ(answer.error().description, QStringLiteral("声音设备发生变化，已停止。请恢复内置输入 / 输出后重试。"));
    EXPECT_LT(clock.elapsed(), 2000) << "the devices are checked every second";
    onQueue([&] {
        hardware.stop();
        return true;
    });
    EXPECT_TRUE(recordings().isEmpty());

    const Result<void> refused = onQueue([&] { return hardware.start(); });
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().description, QStringLiteral("请先选用内置双声道扬声器和内置麦克风，拔掉耳机后重试。"));
    EXPECT_TRUE(recordings().isEmpty());
}

} // namespace
