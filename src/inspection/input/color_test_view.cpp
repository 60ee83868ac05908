#include "inspection/input/color_test_view.h"

#include "inspection/input/screen_palette.h"
#include "inspection/inspection_controls.h"
#include "l10n/l10n.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tagsmith::inspection::input {

namespace {

constexpr int kHintTextSize = 18;
constexpr QSize kHintPadding(28, 16);

} // namespace

ColorTestView::ColorTestView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    m_exitHintTimer.setSingleShot(true);
    m_exitHintTimer.setInterval(kExitHintMilliseconds);
    connect(&m_exitHintTimer, &QTimer::timeout, this, &ColorTestView::hideExitHint);
}

void ColorTestView::advance(int by) {
    const int count = int(inspectionScreenPalette().size());
    m_index = ((m_index + by) % count + count) % count;
    update();
    if (changed)
        changed(m_index);
}

void ColorTestView::showExitHint() {
    hideExitHint();
    m_exitHintVisible = true;
    update();
    m_exitHintTimer.start();
}

void ColorTestView::hideExitHint() {
    m_exitHintTimer.stop();
    m_exitHintVisible = false;
    update();
}

void ColorTestView::requestExit() {
    if (exit)
        exit();
}

void ColorTestView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        advance(1);
    else if (event->button() == Qt::RightButton)
        requestExit();
}

void ColorTestView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        requestExit();
        return;
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        advance(1);
        return;
    case Qt::Key_Left:
    case Qt::Key_Up:
        advance(-1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ColorTestView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), screenTestColor(m_index));
    if (m_exitHintVisible)
        paintExitHint(painter);
}

void ColorTestView::paintExitHint(QPainter& painter) const {
    const QString text = L10n::source(QStringLiteral("按下 Esc 退出"));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(inspectionFont(kHintTextSize, QFont::Medium));
    const QSize textSize = painter.fontMetrics().size(Qt::TextSingleLine, text);
    QRectF box(QPointF(), QSizeF(textSize + 2 * kHintPadding));
    box.moveCenter(QRectF(rect()).center());
    painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.55f), 1));
    painter.setBrush(QColor::fromRgbF(0, 0, 0, 0.42f));
    painter.drawRoundedRect(box, 10, 10);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, text);
}

} // namespace tagsmith::inspection::input
