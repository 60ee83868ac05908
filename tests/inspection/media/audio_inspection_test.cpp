#include "inspection/media/audio_inspection.h"

#include "support/media_page_probe.h"

#include <gtest/gtest.h>

using namespace tagsmith::inspection;
using namespace tagsmith::inspection::media;
using namespace tagsmith::test;
using namespace std::chrono_literals;

namespace {

const QString kNotCompleted = QStringLiteral("检测未完成，请重新测试");
const QString kLeft = QStringLiteral("左声道播放中 · 麦克风同步录音…");
const QString kReplayPending = QStringLiteral("录音结束，准备回放麦克风收到的声音…");
constexpr InspectionItem kItems[] = {InspectionItem::leftSpeaker, InspectionItem::rightSpeaker,
                                     InspectionItem::microphone};

class AudioPage : public testing::Test, public MediaPageScene {
public: // the failure cases arrange the fixture from outside
    AudioPage() { page->setResults(results); }
    ~AudioPage() override { hardware->pollGate.set(true); }

    InspectionResult item(InspectionItem which) const { return (*results)[which]; }
    bool allAre(const InspectionResult& expected) const {
        return std::all_of(std::begin(kItems), std::end(kItems),
                           [&](InspectionItem which) { return item(which) == expected; });
    }
    bool recording() {
        page->start();
        return probe.shows(kLeft);
    }
    bool answers(const AudioProgress& progress, const QString& status) {
        hardware->answer(progress);
        return probe.shows(status);
    }

    std::shared_ptr<FakeAudioHardware> hardware = std::make_shared<FakeAudioHardware>(record);
    std::shared_ptr<AudioInspection> page =
        std::make_shared<AudioInspection>(AudioInspectionSetup{setup<AudioHardware>(hardware, 400ms), 2s});
    MediaPageProbe probe{page->view()};
};

TEST_F(AudioPage, SpeakersAreConfirmableAfterTheToneAndTheMicrophoneAfterTheReplay) {
    ASSERT_TRUE(recording());
    EXPECT_TRUE(allAre({InspectionState::running, QStringLiteral("正在检测…")}));
    ASSERT_TRUE(answers(AudioProgress::recording(1.2, 42), kLeft));
    ASSERT_TRUE(answers(AudioProgress::recording(3.5, 20), QStringLiteral("声道切换间隔 · 麦克风继续录音…")));
    ASSERT_TRUE(answers(AudioProgress::recording(4.0, 30), QStringLiteral("右声道播放中 · 麦克风同步录音…")));
    ASSERT_TRUE(answers(AudioProgress::preparingReplay(), kReplayPending));
    const InspectionResult heard{InspectionState::needsConfirmation, QStringLiteral("测试音播放完成，请确认声音正常"),
                                 true};
    EXPECT_EQ(item(InspectionItem::rightSpeaker), heard);
    EXPECT_EQ(item(InspectionItem::microphone).state, InspectionState::running);

    ASSERT_TRUE(answers(AudioProgress::replaying(), QStringLiteral("正在回放麦克风录音，请听取刚才的测试音和人声…")));
    ASSERT_TRUE(results->confirm(InspectionItem::leftSpeaker, false));
    hardware->answer(AudioProgress::finished());
    ASSERT_TRUE(probe.endsWith(QStringLiteral("播放与录音回放已完成。\n请在下方逐项确认：左声道、右声道、麦克风。")));
    EXPECT_EQ(item(InspectionItem::leftSpeaker).state, InspectionState::failed) << "the operator's verdict stays";
    EXPECT_EQ(item(InspectionItem::rightSpeaker), heard);
    EXPECT_EQ(
        item(InspectionItem::microphone),
        (InspectionResult{InspectionState::needsConfirmation, QStringLiteral("录音回放完成，请确认收音清晰"), true}));
    EXPECT_FALSE(record.isOpen(fakeAudio)) << "the recording is deleted";
}

struct Failure {
    const char* name;
    std::function<void(AudioPage&)> arrange;
    QString status;
    bool itemsRan; // running items say the test was not completed; the others stay untouched
};

class AudioPageFailure : public AudioPage, public testing::WithParamInterface<Failure> {};

TEST_P(AudioPageFailure, EndsReleasedWithTheItemsPending) {
    GetParam().arrange(*this);
    page->start();
    ASSERT_TRUE(probe.endsWith(GetParam().status)) << probe.status().toStdString();
    const QString detail = GetParam().itemsRan ? kNotCompleted : instruction(InspectionItem::microphone);
    EXPECT_EQ(item(InspectionItem::microphone), (InspectionResult{InspectionState::pending, detail}));
    EXPECT_FALSE(record.isOpen(fakeAudio));
}

INSTANTIATE_TEST_SUITE_P(
    InspectionMedia, AudioPageFailure,
    testing::Values(
        Failure{"Headphones", [](AudioPage& test) { test.hardware->devices.output->builtIn = false; },
                QStringLiteral("请先选用内置双声道扬声器和内置麦克风，拔掉耳机后重试。"), false},
        Failure{"CameraNotReleased",
                [](AudioPage& test) { test.page->setPrepareForUse([](ReleaseCompletion done) { done(false); }); },
                QStringLiteral("摄像头尚未释放，未启动声音测试。请稍后重试。"), false},
        Failure{"PermissionDenied", [](AudioPage& test) { test.grant = false; },
                QStringLiteral("麦克风权限未允许。请在系统设置 → 隐私与安全性 → 麦克风中授权。"), true},
        Failure{
            "RecorderFails",
            [](AudioPage& test) { test.hardware->startFailure = mediaError(QStringLiteral("麦克风无法开始录音。")); },
            QStringLiteral("测试未完成：麦克风无法开始录音。"), true},
        Failure{"DeviceChangesWhileRecording",
                [](AudioPage& test) {
                    test.hardware->answer(
                        mediaError(QStringLiteral("声音设备发生变化，已停止。请恢复内置输入 / 输出后重试。")));
                },
                QStringLiteral("测试未完成：声音设备发生变化，已停止。请恢复内置输入 / 输出后重试。"), true}),
    [](const testing::TestParamInfo<Failure>& info) { return std::string(info.param.name); });

TEST_F(AudioPage, LeavingWhileAPollWaitsDeletesTheRecordingAndTheNextRunStillPolls) {
    ASSERT_TRUE(recording());
    hardware->pollGate.set(false);
    ASSERT_TRUE(waitUntil([this] { return hardware->pollGate.holding(); }));
    page->stop();
    EXPECT_EQ(probe.status(), QStringLiteral("正在停止并删除本次录音…"));
    EXPECT_TRUE(allAre({InspectionState::pending, kNotCompleted}));
    hardware->pollGate.set(true);
    ASSERT_TRUE(probe.endsWith(QStringLiteral("已停止，本次临时录音已删除。")));
    EXPECT_FALSE(record.isOpen(fakeAudio));
    ASSERT_TRUE(recording());
    EXPECT_TRUE(answers(AudioProgress::preparingReplay(), kReplayPending));
}

TEST_F(AudioPage, StalledDeviceTimesOutWithOnePollOutstanding) {
    ASSERT_TRUE(recording());
    hardware->pollGate.set(false);
    ASSERT_TRUE(waitUntil([this] { return hardware->pollGate.holding(); }));
    const int polls = hardware->pollGate.arrivals;
    ASSERT_TRUE(probe.shows(QStringLiteral("声音设备响应超时，正在停止测试。若持续无响应，请退出工具后重试。")));
    EXPECT_EQ(hardware->pollGate.arrivals, polls) << "no polls pile up behind the stalled one";
    ASSERT_TRUE(probe.shows(QStringLiteral("声音设备释放超时，可继续其他检测。若持续无响应，请退出工具后重试。")));
    std::optional<bool> released;
    page->releaseForCamera([&released](bool ok) { released = ok; });
    EXPECT_EQ(released, false) << "the camera hears at once that the devices are stuck";
    hardware->pollGate.set(true);
    ASSERT_TRUE(waitUntil([this] { return probe.canStart(); }));
    EXPECT_TRUE(record.events().contains(QStringLiteral("audio.release.confirmed")));
}

TEST_F(AudioPage, PermissionAnsweredAfterLeavingStartsNothing) {
    ASSERT_TRUE(grantAfterLeaving(*page, probe, QStringLiteral("已停止，本次临时录音已删除。")));
    EXPECT_FALSE(record.isOpen(fakeAudio));
}

} // namespace
