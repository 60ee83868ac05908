#include "inspection/input/touchpad_canvas.h"

#include "inspection/input/keyboard_event_translation.h"
#include "inspection/inspection_colors.h"
#include "inspection/inspection_controls.h"
#include "l10n/l10n.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tagsmith::inspection::input {

namespace {

constexpr double kLineWidth = 3;
constexpr QSizeF kBoxSize(220, 56);
constexpr double kBoxMargin = 28;
constexpr double kBoxCornerRadius = 12;
constexpr int kHintTextSize = 14;
constexpr int kBoxTextSize = 15;

QColor strokeBlue() {
    return QColor::fromRgbF(0.05f, 0.33f, 0.8f);
}
QColor recognisedGreen() {
    return QColor::fromRgbF(0.08f, 0.53f, 0.25f);
}

} // namespace

TouchpadCanvas::TouchpadCanvas(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void TouchpadCanvas::record(const QPointF& location, quint64 timestamp) {
    if (!m_capturing)
        return;
    if (!contains(location)) {
        breakStroke();
        return;
    }
    if (m_lastPoint == location)
        return;
    const bool hadMovement = m_hasMovement;
    // The first point after a break is no movement by itself.
    if (m_lastPoint)
        m_hasMovement = true;
    const bool startsStroke =
        !m_lastTimestamp || timestamp > *m_lastTimestamp + kStrokeBreakMilliseconds || timestamp < *m_lastTimestamp;
    append({location, startsStroke});
    m_lastPoint = location;
    m_lastTimestamp = timestamp;
    update();
    if (m_hasMovement != hadMovement)
        notifyChanged();
}

bool TouchpadCanvas::contains(const QPointF& location) const {
    return location.x() >= 0 && location.y() >= 0 && location.x() < width() && location.y() < height();
}

void TouchpadCanvas::append(const Sample& sample) {
    const bool full = m_samples.size() > kHistoryLimit;
    m_samples.append(sample);
    if (full) {
        m_samples.remove(0, kHistoryDrop);
        // The oldest remaining point has lost the line it continued.
        m_samples.first().startsStroke = true;
    }
}

void TouchpadCanvas::breakStroke() {
    m_lastPoint.reset();
    m_lastTimestamp.reset();
}

void TouchpadCanvas::releaseButtons() {
    m_leftHeld = false;
    m_rightHeld = false;
    m_controlClick = false;
    breakStroke();
    buttonsChanged();
}

void TouchpadCanvas::clear() {
    m_samples.clear();
    m_hasMovement = false;
    m_leftCount = 0;
    m_rightCount = 0;
    releaseButtons();
}

void TouchpadCanvas::mouseMoveEvent(QMouseEvent* event) {
    record(event->position(), event->timestamp());
}

void TouchpadCanvas::mousePressEvent(QMouseEvent* event) {
    if (!m_capturing)
        return;
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton)
        pressLeft(event->modifiers().testFlag(controlKeyModifier()));
    else if (event->button() == Qt::RightButton)
        pressRight();
}

void TouchpadCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_capturing)
        return;
    if (event->button() == Qt::LeftButton)
        releaseLeft();
    else if (event->button() == Qt::RightButton)
        releaseRight();
}

void TouchpadCanvas::pressLeft(bool asRightClick) {
    // A Control-click is the one-button way to right-click.
    m_controlClick = asRightClick;
    if (asRightClick) {
        pressRight();
        return;
    }
    m_leftHeld = true;
    ++m_leftCount;
    buttonsChanged();
}

void TouchpadCanvas::releaseLeft() {
    if (std::exchange(m_controlClick, false)) {
        releaseRight();
        return;
    }
    m_leftHeld = false;
    buttonsChanged();
}

void TouchpadCanvas::pressRight() {
    m_rightHeld = true;
    ++m_rightCount;
    buttonsChanged();
}

void TouchpadCanvas::releaseRight() {
    m_rightHeld = false;
    buttonsChanged();
}

void TouchpadCanvas::buttonsChanged() {
    update();
    notifyChanged();
}

void TouchpadCanvas::notifyChanged() {
    if (changed)
        changed();
}

void TouchpadCanvas::enterEvent(QEnterEvent* /*event*/) {
    breakStroke();
}

void TouchpadCanvas::leaveEvent(QEvent* /*event*/) {
    breakStroke();
}

void TouchpadCanvas::keyPressEvent(QKeyEvent* event) {
    if (m_capturing && event->key() == Qt::Key_Escape && exit) {
        exit();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TouchpadCanvas::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    paintStrokes(painter);
    paintHint(painter);
    const double boxTop = height() - kBoxMargin - kBoxSize.height();
    paintButtonBox(painter, QRectF(QPointF(kBoxMargin, boxTop), kBoxSize), QStringLiteral("左键"), m_leftCount > 0,
                   m_leftHeld);
    paintButtonBox(painter, QRectF(QPointF(width() - kBoxMargin - kBoxSize.width(), boxTop), kBoxSize),
                   QStringLiteral("右键"), m_rightCount > 0, m_rightHeld);
}

void TouchpadCanvas::paintStrokes(QPainter& painter) const {
    painter.setPen(QPen(strokeBlue(), kLineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF stroke;
    const auto drawStroke = [&painter, &stroke] {
        if (stroke.size() == 1)
            painter.drawPoint(stroke.first()); // a dot with the round cap
        else if (stroke.size() > 1)
            painter.drawPolyline(stroke);
        stroke.clear();
    };
    for (const Sample& sample : m_samples) {
        if (sample.startsStroke)
            drawStroke();
        stroke.append(sample.point);
    }
    drawStroke();
}

void TouchpadCanvas::paintHint(QPainter& painter) const {
    const QString hint = m_hasMovement ? QStringLiteral("滑动触摸板画线，无需按住按键  ·  按 Esc 返回")
                                       : QStringLiteral("在白色区域滑动触摸板即可画线，无需按住左键");
    painter.setPen(colors::secondaryLabel());
    painter.setFont(inspectionFont(kHintTextSize));
    painter.drawText(QRectF(0, 18, width(), 24), Qt::AlignCenter, L10n::source(hint));
}

void TouchpadCanvas::paintButtonBox(QPainter& painter, const QRectF& frame, const QString& name, bool recognised,
                                    bool held) const {
    QString text;
    if (recognised) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(held ? colors::blended(recognisedGreen(), Qt::black, 0.15f) : recognisedGreen());
        text = QStringLiteral("✓ ") + L10n::source(name) + QStringLiteral("识别成功") +
               (held ? QStringLiteral(" · 按下中") : QString());
    } else {
        painter.setPen(QPen(colors::withAlpha(Qt::black, 0.25f), 1));
        painter.setBrush(QColor::fromRgbF(0.94f, 0.94f, 0.94f));
        text = L10n::source(name) + QStringLiteral(" · 等待按下");
    }
    painter.drawRoundedRect(frame, kBoxCornerRadius, kBoxCornerRadius);
    painter.setPen(recognised ? QColor(Qt::white) : colors::secondaryLabel());
    painter.setFont(inspectionFont(kBoxTextSize, QFont::DemiBold));
    painter.drawText(frame, Qt::AlignCenter, text);
}

} // namespace tagsmith::inspection::input
