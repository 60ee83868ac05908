#include "inspection/input/keyboard_capture.h"

#include "inspection/input/keyboard_event_translation.h"

#include <QApplication>
#include <QKeyEvent>

namespace tagsmith::inspection::input {

KeyboardCapture::KeyboardCapture(QWidget* view, KeyboardEventSink& sink) : m_view(view), m_sink(sink) {
    qApp->installEventFilter(this);
    qApp->installNativeEventFilter(this);
}

KeyboardCapture::~KeyboardCapture() {
    qApp->removeNativeEventFilter(this);
    qApp->removeEventFilter(this);
}

bool KeyboardCapture::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return filterKey(event);
    case QEvent::WindowDeactivate:
        if (isPageWindow(watched))
            m_sink.windowResignedKey();
        return false;
    default:
        return false;
    }
}

bool KeyboardCapture::filterKey(QEvent* event) {
    if (!m_sink.capturing())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const std::optional<KeyboardEvent> translated =
        translateQtKeyEvent({event->type() != QEvent::KeyRelease, key->key(), key->nativeScanCode(),
                             key->nativeModifiers(), key->isAutoRepeat()});
    if (!translated)
        return false;
    // An accepted shortcut check keeps the press from firing a shortcut; the
    // press itself comes next and is taken then.
    const bool consumed =
        event->type() == QEvent::ShortcutOverride ? m_sink.accepts(*translated) : m_sink.receive(*translated);
    if (consumed)
        event->accept();
    return consumed;
}

bool KeyboardCapture::isPageWindow(QObject* watched) const {
    return m_view && watched == m_view->window();
}

bool KeyboardCapture::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/) {
    if (!m_sink.capturing())
        return false;
    const std::optional<KeyboardEvent> translated = translateNativeEvent(eventType, message);
    return translated && m_sink.receive(*translated);
}

} // namespace tagsmith::inspection::input
