#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

namespace tagsmith::inspection::input {

// Fills the screen with one test colour. A click, Space, Return, → or ↓ shows
// the next colour and ← or ↑ the previous one, wrapping around both ways;
// Esc or a right click ends the test.
class ColorTestView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kExitHintMilliseconds = 2000;

    explicit ColorTestView(QWidget* parent = nullptr);

    int index() const { return m_index; }
    void advance(int by);
    bool exitHintVisible() const { return m_exitHintVisible; }
    void showExitHint();
    void hideExitHint();

    std::function<void()> exit;
    std::function<void(int)> changed;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintExitHint(QPainter& painter) const;
    void requestExit();

    int m_index = 0;
    bool m_exitHintVisible = false;
    QTimer m_exitHintTimer;
};

} // namespace tagsmith::inspection::input
