#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QScreen;

namespace tagsmith::inspection::input {

// A borderless window over one whole screen, above every other window, that
// can take the keyboard although it has no title bar. It holds one content
// view, sized with it, and is not deleted when closed: its page drops it.
class FullScreenTestWindow final : public QWidget {
    Q_OBJECT
public:
    explicit FullScreenTestWindow(QWidget* content);

    // Covers the screen, comes to the front and becomes the key window.
    void present(QScreen* screen);
    // Hands the content back without a parent, so it outlives the window.
    void releaseContent();

    // Called when the window is about to close, also when the system closes it.
    std::function<void()> closing;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<QWidget> m_content;
};

// Brings the window that shows a page back to the front after a test, unless
// the operator has switched to another application meanwhile.
void bringPageToFront(QWidget* pageView);

} // namespace tagsmith::inspection::input
