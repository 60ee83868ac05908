#include "inspection/input/screen_inspection.h"

#include "inspection/input/color_test_view.h"
#include "inspection/input/full_screen_test_window.h"
#include "inspection/input/screen_palette.h"
#include "inspection/inspection_controls.h"
#include "inspection/inspection_results.h"
#include "l10n/l10n.h"

#include <QGuiApplication>
#include <QLabel>

#include <utility>

namespace tagsmith::inspection::input {

namespace {

// Colour names on the first line of the list; the rest go on the second.
constexpr int kNamesOnFirstLine = 9;

QString colourNames(int from, int to) {
    QStringList names;
    for (int index = from; index < to; ++index)
        names.append(L10n::source(inspectionScreenPalette().at(index).name));
    return names.join(QStringLiteral(" → "));
}

} // namespace

ScreenInspection::ScreenInspection() : m_results(std::make_shared<InspectionResults>()), m_view(new QWidget) {
    build();
    m_deactivateObserver =
        QObject::connect(qApp, &QGuiApplication::applicationStateChanged, m_view, [this](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive)
                closeTest();
        });
}

ScreenInspection::~ScreenInspection() {
    QObject::disconnect(m_deactivateObserver);
    closeTestWindow();
    delete m_view;
}

void ScreenInspection::build() {
    m_view->resize(kInspectionPageSize);
    inspectionLabel(QStringLiteral("屏幕纯色检测"), QRect(26, 20, 520, 32), m_view, 22, true);
    inspectionLabel(description(), QRect(26, 84, 958, 150), m_view);
    inspectionButton(QStringLiteral("开始全屏检测"), QRect(26, 248, 160, 36), m_view, [this] { start(); });
    inspectionLabel(QStringLiteral("软件显示测试色，屏幕好坏由现场观察确认。未观察完全部颜色时不会自动标记通过。\n"
                                   "检测期间不调整亮度、原彩或夜览；需要比较色彩时请自行在系统设置中调整。"),
                    QRect(26, 300, 958, 44), m_view, 13);
    m_status = inspectionLabel(QString(), QRect(26, 360, 958, 24), m_view);
}

QString ScreenInspection::description() const {
    const int count = int(inspectionScreenPalette().size());
    return L10n::source(QStringLiteral("观察坏点、亮点、色斑及显示不均。将本窗口移到要检测的屏幕后开始。")) +
           QStringLiteral("\n共 %1 种测试色：").arg(count) + colourNames(0, kNamesOnFirstLine) +
           QStringLiteral(" →\n") + colourNames(kNamesOnFirstLine, count) +
           L10n::source(QStringLiteral("\n\n点击屏幕 / 空格 / →：下一种颜色；←：上一种颜色\nEsc / 鼠标右键：退出检测"));
}

void ScreenInspection::setResults(std::shared_ptr<InspectionResults> results) {
    m_results = std::move(results);
}

bool ScreenInspection::hasDisplayedAllColors() const {
    for (int index = 0; index < int(inspectionScreenPalette().size()); ++index) {
        if (!m_displayed.contains(index))
            return false;
    }
    return true;
}

QScreen* ScreenInspection::pageScreen() const {
    QScreen* screen = m_view ? m_view->window()->screen() : nullptr;
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

void ScreenInspection::start() {
    if (m_testWindow)
        return;
    QScreen* screen = pageScreen();
    if (screen == nullptr)
        return;
    m_results->begin(InspectionItem::screen);
    m_displayed = {0};
    m_status->setText(L10n::source(QStringLiteral("检测进行中…")));
    openTestWindow(screen);
}

void ScreenInspection::openTestWindow(QScreen* screen) {
    auto* colours = new ColorTestView;
    colours->exit = [this] { closeTest(); };
    colours->changed = [this](int index) { m_displayed.insert(index); };
    m_testView = colours;
    m_testWindow = new FullScreenTestWindow(colours);
    m_testWindow->closing = [this] { closeTest(); };
    m_previousPresentation = hideDockAndMenuBar();
    m_testWindow->present(screen);
    colours->setFocus(Qt::ActiveWindowFocusReason);
    colours->showExitHint();
    QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    m_cursorHidden = true;
}

void ScreenInspection::closeTest() {
    // Only a test that was open has anything to report: the application also
    // loses focus when no test runs, and stop() comes at every exit.
    if (!closeTestWindow())
        return;
    bringPageToFront(m_view);
    reportDisplayed();
}

bool ScreenInspection::closeTestWindow() {
    if (!m_testWindow)
        return false;
    // Dropped first: closing the window may deactivate the application, which closes the test again.
    const QPointer<FullScreenTestWindow> window = std::exchange(m_testWindow, nullptr);
    if (m_testView) {
        m_testView->hideExitHint();
        m_testView->exit = nullptr;
        m_testView->changed = nullptr;
    }
    window->closing = nullptr;
    window->close();
    window->deleteLater();
    restorePresentation(m_previousPresentation);
    if (std::exchange(m_cursorHidden, false))
        QGuiApplication::restoreOverrideCursor();
    return true;
}

void ScreenInspection::reportDisplayed() {
    const int shown = int(m_displayed.size());
    const int count = int(inspectionScreenPalette().size());
    const bool all = hasDisplayedAllColors();
    m_status->setText(QStringLiteral("已显示 %1 / %2 种测试色。请根据观察结果人工确认。").arg(shown).arg(count));
    // An interrupted test leaves the pass decision locked.
    m_results->set(InspectionItem::screen, all ? InspectionState::needsConfirmation : InspectionState::pending,
                   QStringLiteral("已显示 %1 / %2 种测试色").arg(shown).arg(count), all);
}

void ScreenInspection::stop() {
    closeTest();
    QObject::disconnect(m_deactivateObserver);
}

FullScreenTestWindow* ScreenInspection::testWindow() const {
    return m_testWindow;
}

ColorTestView* ScreenInspection::testView() const {
    return m_testView;
}

QLabel* ScreenInspection::statusLabel() const {
    return m_status;
}

} // namespace tagsmith::inspection::input
