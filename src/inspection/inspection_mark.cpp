#include "inspection/inspection_mark.h"

#include "inspection/inspection_colors.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <initializer_list>

namespace tagsmith::inspection {

namespace {

// Glyph points as fractions of the box, y measured upward from its bottom.
QPainterPath glyph(InspectionState state, const QRectF& box) {
    const auto at = [&box](double x, double y) {
        return QPointF(box.left() + x * box.width(), box.bottom() - y * box.height());
    };
    const auto polyline = [&at](std::initializer_list<QPointF> fractions) {
        QPainterPath path;
        bool first = true;
        for (const QPointF& fraction : fractions) {
            const QPointF point = at(fraction.x(), fraction.y());
            first ? path.moveTo(point) : path.lineTo(point);
            first = false;
        }
        return path;
    };
    switch (state) {
    case InspectionState::running:
    case InspectionState::needsConfirmation:
        return polyline({{0.33, 0.5}, {0.67, 0.5}});
    case InspectionState::failed: {
        QPainterPath cross = polyline({{0.34, 0.34}, {0.66, 0.66}});
        cross.addPath(polyline({{0.34, 0.66}, {0.66, 0.34}}));
        return cross;
    }
    case InspectionState::pending:
    case InspectionState::passed:
        break;
    }
    return polyline({{0.27, 0.51}, {0.43, 0.35}, {0.74, 0.68}});
}

} // namespace

InspectionMark::InspectionMark(QWidget* parent) : QWidget(parent) {
    setState(InspectionState::pending);
}

void InspectionMark::setState(InspectionState state) {
    m_state = state;
    setAccessibleName(title(state));
    update();
}

void InspectionMark::paintEvent(QPaintEvent* /*event*/) {
    const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
    const bool final = isFinal(m_state);
    const QColor tone = color(m_state);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(final ? tone : colors::withAlpha(tone, 0.13f));
    painter.drawEllipse(box);
    QPen stroke(final ? QColor(Qt::white) : tone, std::max(0.085 * box.width(), 2.7), Qt::SolidLine, Qt::RoundCap,
                Qt::RoundJoin);
    painter.setPen(stroke);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(glyph(m_state, box));
}

} // namespace tagsmith::inspection
