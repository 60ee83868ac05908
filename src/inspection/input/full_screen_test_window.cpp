#include "inspection/input/full_screen_test_window.h"

#include "inspection/input/full_screen_presentation.h"

#include <QGuiApplication>
#include <QScreen>

namespace tagsmith::inspection::input {

FullScreenTestWindow::FullScreenTestWindow(QWidget* content)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_content(content) {
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    content->setParent(this);
    content->show();
}

void FullScreenTestWindow::present(QScreen* screen) {
    setScreen(screen);
    setGeometry(screen->geometry());
    show();
    liftAboveOtherWindows(quintptr(winId()));
    raise();
    activateWindow();
}

void FullScreenTestWindow::releaseContent() {
    if (m_content) {
        m_content->hide();
        m_content->setParent(nullptr);
    }
    m_content = nullptr;
}

void FullScreenTestWindow::resizeEvent(QResizeEvent* /*event*/) {
    if (m_content)
        m_content->setGeometry(rect());
}

void FullScreenTestWindow::closeEvent(QCloseEvent* event) {
    if (closing)
        closing();
    QWidget::closeEvent(event);
}

void bringPageToFront(QWidget* pageView) {
    if (pageView == nullptr || QGuiApplication::applicationState() != Qt::ApplicationActive)
        return;
    QWidget* window = pageView->window();
    window->raise();
    window->activateWindow();
}

} // namespace tagsmith::inspection::input
