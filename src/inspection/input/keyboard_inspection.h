#pragma once

#include "inspection/input/key_change.h"
#include "inspection/input/keyboard_capture.h"
#include "inspection/inspection_page.h"

#include <QPointer>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;

namespace tagsmith::inspection::input {

class KeyboardCanvas;

// The "键盘检测" tab: every key of the built-in keyboard lights up on an
// on-screen keyboard of the chosen layout, and the keyboard item passes by
// itself once every key of the layout has produced an event. Keys are taken
// only while the suite has enabled the page and its window is the key window.
// Main thread only.
class KeyboardInspection final : public KeyboardPage, private KeyboardEventSink {
public:
    KeyboardInspection();
    ~KeyboardInspection() override;

    QWidget* view() override { return m_view; }
    void setResults(std::shared_ptr<InspectionResults> results) override;
    void stop() override;
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    void clearHeldKeys() override;
    QWidget* canvas() override;

    bool enabled() const { return m_enabled; }
    // True when the page consumed the event.
    bool receive(const KeyboardEvent& event) override;
    void refresh();
    // Takes the layout from the pop-up and the Touch Bar checkbox; starts over.
    void changeLayout();
    void reset();

    KeyboardCanvas* keyboardCanvas() const;
    QComboBox* layoutPopUp() const;
    QCheckBox* touchBarBox() const;
    QLabel* statusLabel() const;

private:
    void build();
    void buildControls();
    bool capturing() const override;
    bool accepts(const KeyboardEvent& event) const override;
    void windowResignedKey() override;
    QString latestText(const KeyChange& change) const;
    std::pair<int, int> coverage() const;
    void reportProgress();

    std::shared_ptr<InspectionResults> m_results;
    QPointer<QWidget> m_view;
    QPointer<KeyboardCanvas> m_canvas;
    QPointer<QLabel> m_status;
    QPointer<QComboBox> m_layout;
    QPointer<QCheckBox> m_touchBar;
    std::unique_ptr<KeyboardCapture> m_capture; // the event monitor and the resign observer
    bool m_enabled = false;
};

} // namespace tagsmith::inspection::input
