#pragma once

#include "inspection/input/full_screen_presentation.h"
#include "inspection/inspection_page.h"

#include <QMetaObject>
#include <QPointer>
#include <QSet>

#include <memory>

class QLabel;
class QScreen;

namespace tagsmith::inspection::input {

class ColorTestView;
class FullScreenTestWindow;

// The "屏幕检测" tab: fills the page's screen with the test colours one after
// another. The verdict is the operator's; the pass decision unlocks only once
// every colour has been on screen. Main thread only.
class ScreenInspection final : public InspectionPage {
public:
    ScreenInspection();
    ~ScreenInspection() override;

    QWidget* view() override { return m_view; }
    void setResults(std::shared_ptr<InspectionResults> results) override;
    // Closes a running test and stops watching the application's activation.
    void stop() override;

    void start();
    void closeTest();
    bool hasDisplayedAllColors() const;

    FullScreenTestWindow* testWindow() const;
    ColorTestView* testView() const;
    QLabel* statusLabel() const;

private:
    void build();
    QString description() const;
    QScreen* pageScreen() const;
    void openTestWindow(QScreen* screen);
    bool closeTestWindow();
    void reportDisplayed();

    std::shared_ptr<InspectionResults> m_results;
    QPointer<QWidget> m_view;
    QPointer<QLabel> m_status;
    QPointer<FullScreenTestWindow> m_testWindow;
    QPointer<ColorTestView> m_testView;
    PresentationOptions m_previousPresentation = 0;
    bool m_cursorHidden = false;
    QMetaObject::Connection m_deactivateObserver;
    QSet<int> m_displayed; // colour indexes shown in the current test
};

} // namespace tagsmith::inspection::input
