#include "inspection/media/camera_inspection.h"

#include "base/main_thread.h"
#include "base/serial_queue.h"
#include "inspection/inspection_controls.h"
#include "inspection/inspection_results.h"
#include "inspection/media/camera_preview_area.h"
#include "inspection/media/system_camera_hardware.h"
#include "l10n/l10n.h"

#include <QLabel>
#include <QPushButton>

namespace tagsmith::inspection::media {

namespace {

const QString kClosedMessage = QStringLiteral("摄像头已关闭。");
const QString kNotCompleted = QStringLiteral("摄像头未完成检测，请查看检测页");

} // namespace

CameraInspection::CameraInspection(MediaPageSetup<CameraHardware> setup)
    : m_setup(std::move(setup)), m_results(std::make_shared<InspectionResults>()), m_view(new QWidget) {
    buildView();
    HandOverSettings settings{m_setup.queue,
                              [hardware = m_setup.hardware] { hardware->stop(); },
                              m_setup.timeout,
                              QStringLiteral("camera.release.confirmed"),
                              QStringLiteral("camera.stop.timeout"),
                              true,
                              m_setup.log};
    HandOverDisplay display{
        [this](const QString& message) { showClosing(message); },
        [this](const QString& message) { showReleased(message); },
        [this] {
            showStatus(
                QStringLiteral("摄像头关闭超时，声音测试暂未启动。可继续其他检测；若绿灯持续亮，请退出工具后重试。"));
        }};
    m_handOver = MediaHandOver::create(std::move(settings), std::move(display));
}

CameraInspection::~CameraInspection() {
    // A camera still open when the page goes is closed on its own queue.
    if (!m_handOver->isReleased())
        m_setup.queue->async([hardware = m_setup.hardware] { hardware->stop(); });
    delete m_view;
}

MediaPageSetup<CameraHardware> CameraInspection::systemSetup() {
    return {std::make_shared<SystemCameraHardware>(), &MediaRuntime::cameraQueue(),
            capturePermission(CaptureDevice::camera)};
}

void CameraInspection::buildView() {
    m_view->resize(kInspectionPageSize);
    inspectionLabel(QStringLiteral("前置摄像头"), QRect(26, 20, 520, 32), m_view, 22, true);
    m_startButton = inspectionButton(QStringLiteral("打开摄像头"), QRect(26, 64, 150, 32), m_view, [this] { start(); });
    m_startButton->setObjectName(QStringLiteral("startButton"));
    inspectionButton(QStringLiteral("关闭摄像头"), QRect(186, 64, 150, 32), m_view, [this] {
        stop();
    })->setObjectName(QStringLiteral("stopButton"));
    m_preview = new CameraPreviewArea(m_view);
    m_preview->setGeometry(26, 108, 720, 405);
    m_status = inspectionLabel(QStringLiteral("尚未打开摄像头。此处仅实时预览，不拍照、不录像。"),
                               QRect(26, 524, 958, 44), m_view);
    m_status->setObjectName(QStringLiteral("status"));
    inspectionLabel(QStringLiteral("观察画面、亮度和异常条纹。离开本页面时自动关闭摄像头。"), QRect(26, 574, 958, 40),
                    m_view, 13);
}

void CameraInspection::start() {
    if (!m_startButton->isEnabled())
        return;
    const std::shared_ptr<MediaRequest> request = m_handOver->beginAttempt();
    if (!request)
        return;
    m_results->begin(InspectionItem::camera);
    m_startButton->setEnabled(false);
    showStatus(QStringLiteral("正在等待声音设备释放…"));
    m_handOver->armWatchdog(m_handOver->timeout(), [this, request] {
        if (!request->isCancelled())
            fail(QStringLiteral("声音设备尚未释放，摄像头未启动。请停止声音测试后重试。"));
    });
    m_handOver->askToRelease(request, [this, request](bool released) {
        m_handOver->cancelWatchdog();
        if (!released)
            return fail(QStringLiteral("声音设备释放超时，摄像头未启动。请稍后重试。"));
        showStatus(QStringLiteral("正在请求摄像头访问…"));
        askPermission(request);
    });
}

void CameraInspection::askPermission(const std::shared_ptr<MediaRequest>& request) {
    // Weak: the operator may have closed the tool before the system answers.
    std::weak_ptr<CameraInspection> self = weak_from_this();
    m_setup.permission([self, request](bool granted) {
        base::onMain([self, request, granted] {
            const std::shared_ptr<CameraInspection> page = self.lock();
            if (!page || request->isCancelled())
                return;
            if (granted)
                page->open(request);
            else
                page->fail(QStringLiteral("未允许摄像头权限。请在系统设置 → 隐私与安全性 → 摄像头中授权。"));
        });
    });
}

void CameraInspection::open(const std::shared_ptr<MediaRequest>& request) {
    showStatus(QStringLiteral("正在准备内置摄像头…"));
    m_handOver->armWatchdog(m_handOver->timeout(), [this, request] {
        if (request->isCancelled())
            return;
        m_setup.log(QStringLiteral("camera.start.timeout"));
        fail(QStringLiteral("摄像头响应超时，正在释放设备。若持续无响应，请退出工具后重试。"));
    });
    m_handOver->startOnQueue(
        request,
        [hardware = m_setup.hardware, onError = runtimeErrorHandler(request)] { return hardware->start(onError); },
        [this](const Result<CameraPreview>& result) { opened(result); });
}

void CameraInspection::opened(const Result<CameraPreview>& result) {
    m_handOver->cancelWatchdog();
    if (!result)
        return fail(QStringLiteral("摄像头未打开：") + result.error().description);
    m_preview->setLayer(result->layer);
    showStatus(QStringLiteral("实时预览：") + result->name + QStringLiteral("。请现场确认画面是否正常。"));
    m_results->set(InspectionItem::camera, InspectionState::needsConfirmation,
                   QStringLiteral("预览已启动，请确认画面正常"), true);
}

std::function<void(const QString&)>
CameraInspection::runtimeErrorHandler(const std::shared_ptr<MediaRequest>& request) {
    std::weak_ptr<CameraInspection> self = weak_from_this();
    return [self, request](const QString& message) {
        base::onMain([self, request, message] {
            const std::shared_ptr<CameraInspection> page = self.lock();
            if (page && !request->isCancelled())
                page->fail(QStringLiteral("摄像头运行失败：") + message);
        });
    };
}

void CameraInspection::fail(const QString& message) {
    m_handOver->stopAndShow(message);
    m_results->set(InspectionItem::camera, InspectionState::pending, kNotCompleted);
}

void CameraInspection::stop() {
    m_handOver->stopAndShow(kClosedMessage);
}

void CameraInspection::releaseForAudio(ReleaseCompletion completion) {
    m_handOver->stopAndShow(kClosedMessage, std::move(completion));
}

// The picture goes at once, before the camera has stopped; a preview that
// was shown stays confirmable after the operator leaves the tab.
void CameraInspection::showClosing(const QString& message) {
    m_preview->setLayer(nullptr);
    if ((*m_results)[InspectionItem::camera].state == InspectionState::running)
        m_results->set(InspectionItem::camera, InspectionState::pending, QStringLiteral("检测已停止，请重新打开预览"));
    m_startButton->setEnabled(false);
    showStatus(message == kClosedMessage ? QStringLiteral("正在关闭摄像头…") : message);
}

void CameraInspection::showReleased(const QString& message) {
    showStatus(message);
    m_startButton->setEnabled(true);
}

void CameraInspection::showStatus(const QString& text) {
    m_status->setText(L10n::source(text));
}

} // namespace tagsmith::inspection::media
