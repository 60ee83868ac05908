#include "inspection/media/audio_inspection.h"

#include "base/main_thread.h"
#include "base/serial_queue.h"
#include "inspection/inspection_controls.h"
#include "inspection/inspection_results.h"
#include "inspection/media/audio_level_indicator.h"
#include "inspection/media/system_audio_hardware.h"
#include "l10n/l10n.h"

#include <QLabel>
#include <QPushButton>

#include <array>

namespace tagsmith::inspection::media {

namespace {

const QString kStoppedMessage = QStringLiteral("已停止，本次临时录音已删除。");
const QString kPreparing = QStringLiteral("正在确认摄像头关闭，再准备声音设备…");
const QString kLeftPlaying = QStringLiteral("左声道播放中 · 麦克风同步录音…");
constexpr std::array kItems = {InspectionItem::leftSpeaker, InspectionItem::rightSpeaker, InspectionItem::microphone};
constexpr std::chrono::milliseconds kPollInterval{100};

QString recordingStatus(double elapsed) {
    if (elapsed < 3.0)
        return kLeftPlaying;
    if (elapsed < 4.0)
        return QStringLiteral("声道切换间隔 · 麦克风继续录音…");
    return QStringLiteral("右声道播放中 · 麦克风同步录音…");
}

} // namespace

AudioInspection::AudioInspection(AudioInspectionSetup setup)
    : m_setup(std::move(setup)), m_results(std::make_shared<InspectionResults>()), m_view(new QWidget) {
    buildView();
    HandOverSettings settings{m_setup.queue,
                              [hardware = m_setup.hardware] { hardware->stop(); },
                              m_setup.timeout,
                              QStringLiteral("audio.release.confirmed"),
                              QStringLiteral("audio.cleanup.timeout"),
                              false,
                              m_setup.log};
    HandOverDisplay display{
        [this](const QString& message) { showClosing(message); },
        [this](const QString& message) { showReleased(message); },
        [this] { showStatus(QStringLiteral("声音设备释放超时，可继续其他检测。若持续无响应，请退出工具后重试。")); }};
    m_handOver = MediaHandOver::create(std::move(settings), std::move(display));
    m_timer.setInterval(kPollInterval);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
}

AudioInspection::~AudioInspection() {
    // Devices still open when the page goes are closed, and the recording deleted, on their own queue.
    if (!m_handOver->isReleased())
        m_setup.queue->async([hardware = m_setup.hardware] { hardware->stop(); });
    delete m_view;
}

AudioInspectionSetup AudioInspection::systemSetup() {
    AudioInspectionSetup setup;
    setup.hardware = std::make_shared<SystemAudioHardware>();
    setup.queue = &MediaRuntime::queue();
    setup.permission = capturePermission(CaptureDevice::microphone);
    return setup;
}

void AudioInspection::buildView() {
    m_view->resize(kInspectionPageSize);
    inspectionLabel(QStringLiteral("扬声器与麦克风"), QRect(26, 20, 650, 32), m_view, 22, true);
    inspectionLabel(QStringLiteral("自动流程：左声道 3 秒 → 间隔 1 秒 → 右声道 3 秒 → 回放麦克风录音"),
                    QRect(26, 60, 650, 22), m_view);
    m_routeLabel = inspectionLabel(QStringLiteral("进入此页后读取声音设备"), QRect(26, 92, 650, 66), m_view, 13);
    m_routeLabel->setObjectName(QStringLiteral("routeLabel"));
    buildControls();
    m_status = inspectionLabel(QStringLiteral("尚未测试"), QRect(26, 292, 650, 140), m_view);
    m_status->setObjectName(QStringLiteral("status"));
}

void AudioInspection::buildControls() {
    inspectionLabel(QStringLiteral("麦克风实时电平（录音时）"), QRect(26, 168, 190, 22), m_view, 13);
    m_level = new AudioLevelIndicator(m_view);
    m_level->setGeometry(220, 171, 456, 16);
    m_level->setObjectName(QStringLiteral("level"));
    m_startButton =
        inspectionButton(QStringLiteral("开始声音与录音测试"), QRect(26, 202, 220, 32), m_view, [this] { start(); });
    m_startButton->setObjectName(QStringLiteral("startButton"));
    inspectionButton(QStringLiteral("停止 / 删除本次录音"), QRect(256, 202, 200, 32), m_view, [this] {
        stop();
    })->setObjectName(QStringLiteral("stopButton"));
    inspectionLabel(
        QStringLiteral("请拔掉耳机后测试；可在录音时说话。回放后逐项确认结果，临时录音会自动删除且不会回传。"),
        QRect(26, 244, 650, 40), m_view, 13);
}

void AudioInspection::refreshRoutes() {
    cancelRouteRead();
    const std::shared_ptr<MediaRequest> request = m_routeRequest = std::make_shared<MediaRequest>();
    m_startButton->setEnabled(false);
    m_routeLabel->setText(L10n::source(kPreparing));
    m_routeWatchdog.arm(m_setup.timeout, [this] {
        m_setup.log(QStringLiteral("audio.routes.timeout"));
        m_routeLabel->setText(L10n::source(QStringLiteral(
            "摄像头关闭或声音设备准备超时，未启动测试。可点击开始重试；若绿灯持续亮，请退出工具后重试。")));
        m_startButton->setEnabled(true);
    });
    m_handOver->askToRelease(request, [this, request](bool released) {
        if (released)
            return readRoutes(request);
        m_routeWatchdog.cancel();
        m_routeLabel->setText(
            L10n::source(QStringLiteral("摄像头尚未关闭，声音测试未启动。可继续其他检测；摄像头释放后点击开始重试。")));
        m_startButton->setEnabled(true);
    });
}

void AudioInspection::readRoutes(const std::shared_ptr<MediaRequest>& request) {
    m_handOver->runOnQueue(
        request,
        [hardware = m_setup.hardware, log = m_setup.log] {
            log(QStringLiteral("audio.routes.begin"));
            const AudioRoutes routes = hardware->routes();
            log(QStringLiteral("audio.routes.end"));
            return routes;
        },
        [this](const AudioRoutes& routes) {
            m_routeWatchdog.cancel();
            showRoutes(routes);
            m_startButton->setEnabled(true);
        });
}

void AudioInspection::showRoutes(const AudioRoutes& routes) {
    m_routeLabel->setText(L10n::source(routes.description()));
}

void AudioInspection::cancelRouteRead() {
    if (m_routeRequest)
        m_routeRequest->cancel();
    m_routeRequest.reset();
    m_routeWatchdog.cancel();
}

void AudioInspection::start() {
    if (!m_startButton->isEnabled() || m_handOver->isClosing())
        return;
    const std::shared_ptr<MediaRequest> request = m_handOver->beginAttempt();
    if (!request)
        return;
    cancelRouteRead();
    for (InspectionItem item : kItems)
        m_results->reset(item);
    m_speakersFinished = false;
    m_startButton->setEnabled(false);
    showStatus(kPreparing);
    // The wait for the camera is bounded by the camera's own release watchdog. Armed
    // only now, this one cannot fire first and blame the sound devices for a stuck camera.
    m_handOver->askToRelease(request, [this, request](bool released) {
        if (!released)
            return stopAndShow(QStringLiteral("摄像头尚未释放，未启动声音测试。请稍后重试。"));
        armTimeout(request, m_setup.timeout);
        prepare(request);
    });
}

void AudioInspection::prepare(const std::shared_ptr<MediaRequest>& request) {
    m_handOver->runOnQueue(
        request, [hardware = m_setup.hardware] { return hardware->routes(); },
        [this, request](const AudioRoutes& routes) {
            showRoutes(routes);
            if (!routes.usable())
                return stopAndShow(QStringLiteral("请先选用内置双声道扬声器和内置麦克风，拔掉耳机后重试。"));
            for (InspectionItem item : kItems)
                m_results->begin(item);
            showStatus(QStringLiteral("正在请求麦克风访问…"));
            askPermission(request);
        });
}

void AudioInspection::askPermission(const std::shared_ptr<MediaRequest>& request) {
    // Weak: the operator may have closed the tool before the system answers.
    std::weak_ptr<AudioInspection> self = weak_from_this();
    m_setup.permission([self, request](bool granted) {
        base::onMain([self, request, granted] {
            const std::shared_ptr<AudioInspection> page = self.lock();
            if (!page || request->isCancelled())
                return;
            if (granted)
                page->beginRecording(request);
            else
                page->stopAndShow(QStringLiteral("麦克风权限未允许。请在系统设置 → 隐私与安全性 → 麦克风中授权。"));
        });
    });
}

void AudioInspection::beginRecording(const std::shared_ptr<MediaRequest>& request) {
    showStatus(QStringLiteral("正在启动麦克风与测试音…"));
    m_handOver->startOnQueue(
        request, [hardware = m_setup.hardware] { return hardware->start(); },
        [this, request](const Result<void>& started) {
            if (!started)
                return stopAndShow(QStringLiteral("测试未完成：") + started.error().description);
            armTimeout(request, m_setup.runningTimeout);
            showStatus(kLeftPlaying);
            // A poll of an abandoned attempt never answers, so its mark must not block this one.
            m_pollPending = false;
            m_timer.start();
        });
}

void AudioInspection::armTimeout(const std::shared_ptr<MediaRequest>& request, std::chrono::milliseconds after) {
    m_handOver->armWatchdog(after, [this, request] {
        if (request->isCancelled())
            return;
        m_setup.log(QStringLiteral("audio.operation.timeout"));
        stopAndShow(QStringLiteral("声音设备响应超时，正在停止测试。若持续无响应，请退出工具后重试。"));
    });
}

// At most one poll waits on the queue, so a stalled device never piles them up.
void AudioInspection::poll() {
    const std::shared_ptr<MediaRequest> request = m_handOver->request();
    if (!request || request->isCancelled() || m_pollPending)
        return;
    m_pollPending = true;
    m_handOver->runOnQueue(
        request, [hardware = m_setup.hardware] { return hardware->poll(); },
        [this](const Result<AudioProgress>& answer) {
            m_pollPending = false;
            if (!answer)
                return stopAndShow(QStringLiteral("测试未完成：") + answer.error().description);
            handle(*answer);
        });
}

void AudioInspection::handle(const AudioProgress& progress) {
    switch (progress.phase) {
    case AudioProgress::Phase::recording:
        m_level->setValue(progress.level);
        showStatus(recordingStatus(progress.elapsed));
        break;
    case AudioProgress::Phase::preparingReplay:
        speakersDone();
        m_level->setValue(0);
        showStatus(QStringLiteral("录音结束，准备回放麦克风收到的声音…"));
        break;
    case AudioProgress::Phase::replaying:
        showStatus(QStringLiteral("正在回放麦克风录音，请听取刚才的测试音和人声…"));
        break;
    case AudioProgress::Phase::finished:
        m_results->set(InspectionItem::microphone, InspectionState::needsConfirmation,
                       QStringLiteral("录音回放完成，请确认收音清晰"), true);
        stopAndShow(QStringLiteral("播放与录音回放已完成。\n请在下方逐项确认：左声道、右声道、麦克风。"));
        break;
    }
}

// The speakers can be judged as soon as the tone has ended, before the replay.
void AudioInspection::speakersDone() {
    if (std::exchange(m_speakersFinished, true))
        return;
    for (InspectionItem item : {InspectionItem::leftSpeaker, InspectionItem::rightSpeaker})
        m_results->set(item, InspectionState::needsConfirmation, QStringLiteral("测试音播放完成，请确认声音正常"),
                       true);
}

void AudioInspection::stop() {
    stopAndShow(kStoppedMessage);
}

void AudioInspection::releaseForCamera(ReleaseCompletion completion) {
    stopAndShow(kStoppedMessage, std::move(completion));
}

void AudioInspection::stopAndShow(const QString& message, ReleaseCompletion completion) {
    // Even while a release is already running: nothing of the abandoned test may act any more.
    m_handOver->cancelRequest();
    cancelRouteRead();
    m_timer.stop();
    m_handOver->stopAndShow(message, std::move(completion));
}

// Results that are ready to confirm, and the operator's verdicts, stay.
void AudioInspection::showClosing(const QString& message) {
    m_level->setValue(0);
    for (InspectionItem item : kItems) {
        if ((*m_results)[item].state == InspectionState::running)
            m_results->set(item, InspectionState::pending, QStringLiteral("检测未完成，请重新测试"));
    }
    m_startButton->setEnabled(false);
    showStatus(message == kStoppedMessage ? QStringLiteral("正在停止并删除本次录音…") : message);
}

void AudioInspection::showReleased(const QString& message) {
    showStatus(message);
    m_startButton->setEnabled(true);
}

void AudioInspection::showStatus(const QString& text) {
    m_status->setText(L10n::source(text));
}

} // namespace tagsmith::inspection::media
