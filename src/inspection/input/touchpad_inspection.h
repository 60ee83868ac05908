#pragma once

#include "inspection/input/full_screen_presentation.h"
#include "inspection/inspection_page.h"

#include <QMetaObject>
#include <QPointer>

#include <memory>

class QLabel;

namespace tagsmith::inspection::input {

class FullScreenTestWindow;
class TouchpadCanvas;

// The "触摸板检测" tab: a full-screen white canvas to draw on with the
// built-in touchpad and to press its two buttons on. Once movement and both
// buttons have been seen, the touchpad item waits for the operator's verdict.
// Main thread only.
class TouchpadInspection final : public TouchpadPage {
public:
    TouchpadInspection();
    ~TouchpadInspection() override;

    QWidget* view() override { return m_view; }
    void setResults(std::shared_ptr<InspectionResults> results) override;
    // Opens the canvas over the page's screen.
    void start() override;
    // Closes the canvas; counts, drawing and results stay.
    void stop() override;
    void reset();
    void refresh();

    TouchpadCanvas* canvas() const { return m_canvas.get(); }
    FullScreenTestWindow* testWindow() const;
    QLabel* statusLabel() const;

private:
    void build();
    // Movement and both buttons seen.
    bool complete() const;
    bool touched() const;
    void showStatus();
    void reportState();
    bool closeTestWindow();

    std::shared_ptr<InspectionResults> m_results;
    QPointer<QWidget> m_view;
    std::unique_ptr<TouchpadCanvas> m_canvas; // lent to the test window while it is open
    QPointer<QLabel> m_status;
    QPointer<FullScreenTestWindow> m_testWindow;
    PresentationOptions m_previousPresentation = 0;
    QMetaObject::Connection m_deactivateObserver;
};

} // namespace tagsmith::inspection::input
