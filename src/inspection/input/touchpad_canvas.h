#pragma once

#include <QList>
#include <QPointF>
#include <QWidget>

#include <functional>
#include <optional>

namespace tagsmith::inspection::input {

// The white drawing surface of the touchpad test. Pointer movement draws
// blue lines; a pause of more than 0.15 s or leaving the canvas starts a new
// line, which shows where tracking may drop out. Presses of the left and
// right buttons are counted and shown in two boxes at the bottom. Events are
// taken only while capturing.
class TouchpadCanvas final : public QWidget {
    Q_OBJECT
public:
    struct Sample {
        QPointF point;
        bool startsStroke = false; // a new line begins here

        bool operator==(const Sample&) const = default;
    };

    static constexpr qsizetype kHistoryLimit = 12000;
    static constexpr qsizetype kHistoryDrop = 2000;
    static constexpr quint64 kStrokeBreakMilliseconds = 150;

    explicit TouchpadCanvas(QWidget* parent = nullptr);

    bool capturing() const { return m_capturing; }
    void setCapturing(bool capturing) { m_capturing = capturing; }

    // One pointer position at an event time in milliseconds.
    void record(const QPointF& location, quint64 timestamp);
    void breakStroke();
    void releaseButtons();
    void clear();

    const QList<Sample>& samples() const { return m_samples; }
    bool hasMovement() const { return m_hasMovement; }
    bool leftHeld() const { return m_leftHeld; }
    bool rightHeld() const { return m_rightHeld; }
    int leftCount() const { return m_leftCount; }
    int rightCount() const { return m_rightCount; }

    // Called when what the page shows about the test changes.
    std::function<void()> changed;
    // Called on Esc.
    std::function<void()> exit;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool contains(const QPointF& location) const;
    void append(const Sample& sample);
    void pressLeft(bool asRightClick);
    void releaseLeft();
    void pressRight();
    void releaseRight();
    void buttonsChanged();
    void notifyChanged();
    void paintStrokes(QPainter& painter) const;
    void paintHint(QPainter& painter) const;
    void paintButtonBox(QPainter& painter, const QRectF& frame, const QString& name, bool recognised, bool held) const;

    QList<Sample> m_samples;
    std::optional<QPointF> m_lastPoint;
    std::optional<quint64> m_lastTimestamp;
    bool m_capturing = false;
    bool m_hasMovement = false;
    bool m_leftHeld = false;
    bool m_rightHeld = false;
    int m_leftCount = 0;
    int m_rightCount = 0;
    bool m_controlClick = false; // the current left press counts as a right click
};

} // namespace tagsmith::inspection::input
