#include "inspection/input/touchpad_inspection.h"

#include "inspection/input/full_screen_test_window.h"
#include "inspection/input/touchpad_canvas.h"
#include "inspection/inspection_controls.h"
#include "inspection/inspection_results.h"
#include "l10n/l10n.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <utility>

namespace tagsmith::inspection::input {

TouchpadInspection::TouchpadInspection()
    : m_results(std::make_shared<InspectionResults>()), m_view(new QWidget),
      m_canvas(std::make_unique<TouchpadCanvas>()) {
    m_canvas->changed = [this] { refresh(); };
    m_canvas->exit = [this] { stop(); };
    build();
    showStatus();
}

TouchpadInspection::~TouchpadInspection() {
    m_canvas->changed = nullptr;
    QObject::disconnect(m_deactivateObserver);
    closeTestWindow();
    delete m_view;
}

void TouchpadInspection::build() {
    m_view->resize(kInspectionPageSize);
    inspectionLabel(QStringLiteral("触摸板与左右键检测"), QRect(26, 20, 520, 32), m_view, 22, true);
    inspectionLabel(QStringLiteral("请用内置触摸板来回滑动，观察线条是否连续；在画布内点按左键、双指点按右键"
                                   "（需开启辅助点按）。"),
                    QRect(26, 84, 958, 44), m_view);
    inspectionLabel(QStringLiteral("全屏白色画布 · 蓝色滑动轨迹\n\n左下角显示左键识别结果，右下角显示右键识别结果。\n"
                                   "按 Esc 返回此页，再确认检测通过或不通过。"),
                    QRect(26, 136, 958, 90), m_view);
    inspectionButton(QStringLiteral("进入全屏检测"), QRect(26, 240, 150, 36), m_view, [this] { start(); });
    inspectionButton(QStringLiteral("清空并重测"), QRect(190, 240, 130, 36), m_view, [this] { reset(); });
    inspectionLabel(
        QStringLiteral("按住时指示框亮绿，松开后保留已识别标记。停顿或移出画布会分段，请结合实际手感确认是否断触。"),
        QRect(26, 292, 958, 44), m_view, 13);
    m_status = inspectionLabel(QString(), QRect(26, 352, 958, 44), m_view);
}

void TouchpadInspection::setResults(std::shared_ptr<InspectionResults> results) {
    m_results = std::move(results);
}

void TouchpadInspection::start() {
    if (m_testWindow || !m_view)
        return;
    QScreen* screen = m_view->window()->screen();
    if (screen == nullptr)
        return;
    m_testWindow = new FullScreenTestWindow(m_canvas.get());
    m_testWindow->closing = [this] { stop(); };
    m_canvas->setCapturing(true);
    m_canvas->breakStroke();
    m_previousPresentation = hideDockAndMenuBar();
    m_deactivateObserver =
        QObject::connect(qApp, &QGuiApplication::applicationStateChanged, m_view, [this](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive)
                stop();
        });
    m_testWindow->present(screen);
    m_canvas->setFocus(Qt::ActiveWindowFocusReason);
}

void TouchpadInspection::stop() {
    m_canvas->setCapturing(false);
    m_canvas->releaseButtons();
    QObject::disconnect(m_deactivateObserver);
    if (closeTestWindow())
        bringPageToFront(m_view);
}

bool TouchpadInspection::closeTestWindow() {
    if (!m_testWindow)
        return false;
    // Dropped first: closing the window may deactivate the application, which stops the test again.
    const QPointer<FullScreenTestWindow> window = std::exchange(m_testWindow, nullptr);
    window->closing = nullptr;
    window->hide();
    window->releaseContent();
    window->close();
    window->deleteLater();
    restorePresentation(m_previousPresentation);
    return true;
}

void TouchpadInspection::reset() {
    m_results->reset(InspectionItem::touchpad);
    m_canvas->clear();
}

void TouchpadInspection::refresh() {
    showStatus();
    reportState();
}

bool TouchpadInspection::complete() const {
    return m_canvas->hasMovement() && m_canvas->leftCount() > 0 && m_canvas->rightCount() > 0;
}

bool TouchpadInspection::touched() const {
    return m_canvas->hasMovement() || m_canvas->leftCount() > 0 || m_canvas->rightCount() > 0;
}

void TouchpadInspection::showStatus() {
    m_status->setText(
        QStringLiteral("轨迹：") + (m_canvas->hasMovement() ? QStringLiteral("已记录") : QStringLiteral("等待滑动")) +
        QStringLiteral("　左键：%1 次　右键：%2 次\n").arg(m_canvas->leftCount()).arg(m_canvas->rightCount()) +
        (complete() ? QStringLiteral("请观察轨迹与点击手感，在右上角确认通过或不通过。")
                    : QStringLiteral("请在白色画布内滑动，并分别测试左右键。")));
}

void TouchpadInspection::reportState() {
    // An untouched canvas has nothing to report: closing it at a tab switch or
    // at exit leaves the item, and the instruction it shows, as it was.
    if (!touched())
        return;
    const bool done = complete();
    m_results->set(
        InspectionItem::touchpad, done ? InspectionState::needsConfirmation : InspectionState::running,
        done ? QStringLiteral("轨迹及左右键已识别，请人工确认") : QStringLiteral("滑动触摸板并分别点按左右键"), done);
}

FullScreenTestWindow* TouchpadInspection::testWindow() const {
    return m_testWindow;
}

QLabel* TouchpadInspection::statusLabel() const {
    return m_status;
}

} // namespace tagsmith::inspection::input
