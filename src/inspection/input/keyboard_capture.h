#pragma once

#include "inspection/input/keyboard_event_sink.h"

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace tagsmith::inspection::input {

// Catches the application's key, modifier and media-key events before any
// window sees them, and swallows those the page consumes, so that Esc and
// command shortcuts do not act on the window while keys are being tested.
// Main thread only; removed from the application when destroyed.
class KeyboardCapture final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // view: the page's view; its window is the one that must be the key window.
    KeyboardCapture(QWidget* view, KeyboardEventSink& sink);
    ~KeyboardCapture() override;

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    bool filterKey(QEvent* event);
    bool isPageWindow(QObject* watched) const;

    QPointer<QWidget> m_view; // the tab view may delete the page's view first
    KeyboardEventSink& m_sink;
};

} // namespace tagsmith::inspection::input
