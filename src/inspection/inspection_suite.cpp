#include "inspection/inspection_suite.h"

#include "inspection/inspection_controls.h"
#include "inspection/inspection_dashboard.h"
#include "inspection/inspection_results.h"
#include "inspection/result_feedback.h"
#include "l10n/l10n.h"

#include <QTabBar>
#include <QTabWidget>

namespace tagsmith::inspection {

namespace {

constexpr QSize kStripSize(414, 46);
constexpr QSize kAudioStripSize(650, 46);

} // namespace

InspectionSuite::InspectionSuite(QTabWidget* tabs, InspectionPages pages)
    : m_results(std::make_shared<InspectionResults>()), m_pages(std::move(pages)), m_tabs(tabs) {
    crossLinkMediaPages();
    shareResults();
    QPointer<InspectionSuite> weakSuite(this);
    m_dashboard = new InspectionDashboard(m_results, [weakSuite](InspectionItem item) {
        if (weakSuite)
            weakSuite->selectTab(tab(item));
    });
    addTabs();
    connect(m_tabs, &QTabWidget::currentChanged, this, &InspectionSuite::tabChanged);
    m_activeView = m_tabs->currentWidget();
    placeFeedback();
    m_results->onChange = [weakSuite] {
        if (weakSuite)
            weakSuite->refreshAll();
    };
}

InspectionSuite::~InspectionSuite() {
    // The pages die with the suite and take their views out of the tab view,
    // which would report a tab switch to a suite that is half gone.
    if (m_tabs)
        disconnect(m_tabs, nullptr, this, nullptr);
    m_results->onChange = nullptr;
    delete m_dashboard;
}

void InspectionSuite::crossLinkMediaPages() {
    // Weak: each page may outlive the other while the suite is torn down.
    std::weak_ptr<CameraPage> camera = m_pages.camera;
    std::weak_ptr<AudioPage> audio = m_pages.audio;
    m_pages.audio->setPrepareForUse([camera](media::ReleaseCompletion completion) {
        if (const std::shared_ptr<CameraPage> page = camera.lock())
            page->releaseForAudio(std::move(completion));
        else if (completion)
            completion(false);
    });
    m_pages.camera->setPrepareForUse([audio](media::ReleaseCompletion completion) {
        if (const std::shared_ptr<AudioPage> page = audio.lock())
            page->releaseForCamera(std::move(completion));
        else if (completion)
            completion(false);
    });
}

void InspectionSuite::shareResults() {
    for (InspectionPage* page :
         std::initializer_list<InspectionPage*>{m_pages.wireless.get(), m_pages.keyboard.get(), m_pages.touchpad.get(),
                                                m_pages.screen.get(), m_pages.audio.get(), m_pages.camera.get()})
        page->setResults(m_results);
}

void InspectionSuite::addTabs() {
    const std::pair<QString, InspectionPage*> tabs[] = {
        {kWirelessTab, m_pages.wireless.get()}, {kKeyboardTab, m_pages.keyboard.get()},
        {kTouchpadTab, m_pages.touchpad.get()}, {kScreenTab, m_pages.screen.get()},
        {kAudioTab, m_pages.audio.get()},       {kCameraTab, m_pages.camera.get()},
    };
    for (const auto& [identifier, page] : tabs) {
        const int index = m_tabs->addTab(page->view(), L10n::source(identifier));
        m_tabs->tabBar()->setTabData(index, identifier);
    }
}

void InspectionSuite::placeFeedback() {
    placeStrip(*m_pages.wireless, InspectionItem::wifi, QRect({565, 514}, kStripSize), false);
    placeStrip(*m_pages.wireless, InspectionItem::bluetooth, QRect({565, 271}, kStripSize), false);
    placeStrip(*m_pages.keyboard, InspectionItem::keyboard, QRect({565, 568}, kStripSize), false);
    placeStrip(*m_pages.touchpad, InspectionItem::touchpad, QRect({565, 568}, kStripSize), false);
    placeStrip(*m_pages.screen, InspectionItem::screen, QRect({565, 568}, kStripSize), false);
    placeStrip(*m_pages.camera, InspectionItem::camera, QRect({565, 568}, kStripSize), false);
    placeStrip(*m_pages.audio, InspectionItem::leftSpeaker, QRect({26, 142}, kAudioStripSize), true);
    placeStrip(*m_pages.audio, InspectionItem::rightSpeaker, QRect({26, 90}, kAudioStripSize), true);
    placeStrip(*m_pages.audio, InspectionItem::microphone, QRect({26, 38}, kAudioStripSize), true);
}

void InspectionSuite::placeStrip(InspectionPage& page, InspectionItem item, const QRect& frameFromBottomLeft,
                                 bool showTitle) {
    // Placed on the design area, whatever size the tab view has given the page so far.
    auto* strip = new ResultFeedback(m_results, item, showTitle, page.view());
    strip->setGeometry(flippedFrame(frameFromBottomLeft, kInspectionPageSize.height()));
    strip->show();
    m_feedback.append(strip);
}

QList<ResultFeedback*> InspectionSuite::feedback() const {
    QList<ResultFeedback*> strips;
    for (const QPointer<ResultFeedback>& strip : m_feedback)
        strips.append(strip);
    return strips;
}

void InspectionSuite::refreshAll() {
    if (m_dashboard)
        m_dashboard->refresh();
    for (const QPointer<ResultFeedback>& strip : m_feedback) {
        if (strip)
            strip->refresh();
    }
}

bool InspectionSuite::selectTab(const QString& identifier) {
    for (int index = 0; m_tabs && index < m_tabs->count(); ++index) {
        if (m_tabs->tabBar()->tabData(index).toString() == identifier) {
            m_tabs->setCurrentIndex(index);
            return true;
        }
    }
    return false;
}

void InspectionSuite::tabChanged(int index) {
    // The tab view reports a switch only once it happened; the release rules
    // still run before any page is told that it is showing.
    QWidget* next = index < 0 ? nullptr : m_tabs->widget(index);
    willSelect(next);
    didSelect(next);
}

void InspectionSuite::willSelect(QWidget* next) {
    if (next == nullptr || next != m_pages.camera->view())
        m_pages.camera->stop();
    if (m_activeView == m_pages.audio->view() && next != m_pages.audio->view())
        m_pages.audio->stop();
}

void InspectionSuite::didSelect(QWidget* next) {
    const bool keyboardShown = next != nullptr && next == m_pages.keyboard->view();
    m_pages.keyboard->setEnabled(keyboardShown);
    m_pages.keyboard->clearHeldKeys();
    if (QWidget* canvas = m_pages.keyboard->canvas(); keyboardShown && canvas != nullptr)
        canvas->setFocus(Qt::OtherFocusReason);
    const QWidget* touchpadView = m_pages.touchpad->view();
    if (m_activeView == touchpadView && next != touchpadView)
        m_pages.touchpad->stop();
    if (next != nullptr && next == touchpadView)
        m_pages.touchpad->start();
    if (next != nullptr && next == m_pages.audio->view())
        m_pages.audio->refreshRoutes();
    m_activeView = next;
}

void InspectionSuite::stop() {
    m_pages.wireless->stop();
    m_pages.keyboard->stop();
    m_pages.touchpad->stop();
    m_pages.screen->stop();
    m_pages.camera->shutdown();
    m_pages.audio->stop();
}

} // namespace tagsmith::inspection
